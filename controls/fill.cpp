#include "controls/fill.h"

#include <QVBoxLayout>
#include <QWidget>

namespace kelvane {

void fillWith(QWidget &control, QWidget &inner, InnerFocus focus)
{
    auto *layout = new QVBoxLayout(&control);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&inner);
    if (focus == InnerFocus::Forwarded)
        control.setFocusProxy(&inner);
}

} // namespace kelvane
