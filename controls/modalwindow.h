#pragma once

#include <functional>

class QDialog;

namespace kelvane {

// Shows a window modally and returns when the user has closed it; the other
// windows take no input meanwhile.
void showModal(QDialog &window);

// Replaces the modal loop by a handler that receives the window instead, so
// that tests can look at it without blocking. An empty handler restores it.
void setModalHandler(std::function<void(QDialog &)> handler);

} // namespace kelvane
