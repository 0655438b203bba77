#pragma once

namespace kelvane {

class MainWindow;

// Colours, fonts and pictures of the Main window, applied once when it is built.
void applyLook(MainWindow &window);

} // namespace kelvane
