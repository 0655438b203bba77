#include "controls/textbox.h"

#include "controls/fill.h"
#include "controls/focusframe.h"

#include <QLineEdit>

namespace kelvane {

TextBox::TextBox(QWidget *parent) : QWidget(parent), m_edit(new QLineEdit(this))
{
    fillWith(*this, *m_edit, InnerFocus::Forwarded);
    new FocusFrame(*m_edit, QPalette::Highlight);
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
