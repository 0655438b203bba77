#pragma once

class QWidget;

namespace kelvane {

class MainWindow;
struct MainControlRow;

// The Main window's colours, icon and picture, applied once when it is built.
void applyWindowLook(MainWindow &window);

// A control's font and colours as its row gives them.
void applyLook(QWidget &control, const MainControlRow &row);

} // namespace kelvane
