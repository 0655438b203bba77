#include "controls/commandbutton.h"

#include "controls/fill.h"
#include "controls/focusframe.h"

#include <QPushButton>

namespace kelvane {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QWidget(parent), m_button(new QPushButton(caption, this))
{
    fillWith(*this, *m_button, InnerFocus::Forwarded);
    new FocusFrame(*m_button, QPalette::Highlight);
    m_button->setAutoDefault(true);
    connect(m_button, &QPushButton::clicked, this, &CommandButton::clicked);
}

} // namespace kelvane
