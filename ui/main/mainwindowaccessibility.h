#pragma once

class QWidget;

namespace kelvane {

struct MainControlRow;

// The name and description screen readers announce for a control, taken from
// its row's caption and role rather than its object name.
void describeForAssistiveTechnology(QWidget &control, const MainControlRow &row);

} // namespace kelvane
