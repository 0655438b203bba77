#pragma once

#include <QColor>
#include <QPalette>

#include <initializer_list>
#include <utility>

class QWidget;

namespace kelvane {

// Sets the colours of widget's palette for the roles given, in every state.
void setColours(QWidget &widget,
                std::initializer_list<std::pair<QPalette::ColorRole, QColor>> roles);

} // namespace kelvane
