#include "controls/commandbutton.h"

#include "controls/fill.h"

#include <QPushButton>

namespace kelvane {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QWidget(parent), m_button(new QPushButton(caption, this))
{
    fillWith(*this, *m_button, InnerFocus::Forwarded);
    m_button->setAutoDefault(true);
    connect(m_button, &QPushButton::clicked, this, &CommandButton::clicked);
}

} // namespace kelvane
