#include "controls/label.h"

#include "controls/fill.h"

#include <QLabel>
#include <QMouseEvent>

namespace kelvane {

Label::Label(const QString &caption, QWidget *parent)
    : QWidget(parent), m_label(new QLabel(caption, this))
{
    fillWith(*this, *m_label, InnerFocus::None);
    // Clicks on the text reach this widget.
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Label::setAlignment(Qt::Alignment alignment)
{
    m_label->setAlignment(alignment);
}

void Label::setWordWrap(bool wrap)
{
    m_label->setWordWrap(wrap);
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

} // namespace kelvane
