#pragma once

#include <QColor>
#include <QPalette>

#include <initializer_list>
#include <utility>

class QWidget;

namespace kelvane {

class MainWindow;
struct MainControlRow;

// The Main window's colours, icon and picture, applied once when it is built.
void applyWindowLook(MainWindow &window);

// Sets the colours of widget's palette for the roles given, in every state.
void setColours(QWidget &widget,
                std::initializer_list<std::pair<QPalette::ColorRole, QColor>> roles);

// A control's font and colours as its row gives them.
void applyLook(QWidget &control, const MainControlRow &row);

} // namespace kelvane
