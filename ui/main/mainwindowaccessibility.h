#pragma once

namespace kelvane {

class MainWindow;

// Names and descriptions that screen readers announce for the Main window's
// controls, taken from their captions and roles rather than their object names.
void describeForAssistiveTechnology(MainWindow &window);

} // namespace kelvane
