#include "ui/main/mainwindowaccessibility.h"

#include "ui/main/maincontroltable.h"

#include <QWidget>

namespace kelvane {

void describeForAssistiveTechnology(QWidget &control, const MainControlRow &row)
{
    if (!row.accessibleName)
        return;
    // Screen readers announce the widget that holds the focus.
    for (QWidget *widget : {&control, control.focusProxy()}) {
        if (!widget)
            continue;
        widget->setAccessibleName(QString::fromUtf8(row.accessibleName));
        widget->setAccessibleDescription(QString::fromUtf8(row.accessibleDescription));
    }
}

} // namespace kelvane
