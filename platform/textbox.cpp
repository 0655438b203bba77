#include "textbox.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace kelvane {

TextBox::TextBox(QWidget *parent) : QWidget(parent), m_edit(new QLineEdit(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &TextBox::changed);
}

QString TextBox::text() const
{
    return m_edit->text();
}

void TextBox::setText(const QString &text)
{
    m_edit->setText(text);
}

} // namespace kelvane
