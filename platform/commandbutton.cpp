#include "commandbutton.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace kelvane {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QWidget(parent), m_button(new QPushButton(caption, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button);
    setFocusProxy(m_button);
    m_button->setAutoDefault(true);
    connect(m_button, &QPushButton::clicked, this, &CommandButton::clicked);
}

} // namespace kelvane
