#include "controls/widgetcolours.h"

#include <QWidget>

namespace kelvane {

void setColours(QWidget &widget,
                std::initializer_list<std::pair<QPalette::ColorRole, QColor>> roles)
{
    QPalette palette = widget.palette();
    for (const auto &[role, colour] : roles)
        palette.setColor(role, colour);
    widget.setPalette(palette);
}

} // namespace kelvane
