#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <utility>

class QWidget;

namespace kelvane {

// How long work may take before a box over the window says that it works.
inline constexpr int kBusyBoxAfterMs = 400;

// Runs work off the window's thread, so that the window keeps painting, and
// returns once it is done. Meanwhile the cursor is busy, the window takes no
// input (what the user does is handled afterwards), and a box saying what
// over window appears when the work takes longer than kBusyBoxAfterMs.
void runWhileBusy(QWidget *window, const QString &what, const std::function<void()> &work);

// The same for work that gives a result.
template <class Work>
auto whileBusy(QWidget *window, const QString &what, Work &&work) -> decltype(work())
{
    std::optional<decltype(work())> result;
    runWhileBusy(window, what, [&] { result.emplace(std::forward<Work>(work)()); });
    return std::move(*result);
}

} // namespace kelvane
