#include "controls/focusframe.h"

#include <QEvent>
#include <QPainter>

namespace kelvane {

namespace {

constexpr int kRingWidth = 2;

} // namespace

FocusFrame::FocusFrame(QWidget &target, QPalette::ColorRole role)
    : QWidget(&target), m_target(target), m_role(role)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    target.installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_target) {
        switch (event->type()) {
        case QEvent::FocusIn:
            setGeometry(m_target.rect());
            // Above the viewport and scroll bars of a list.
            raise();
            show();
            break;
        case QEvent::FocusOut:
            hide();
            break;
        case QEvent::Resize:
            setGeometry(m_target.rect());
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(m_target.palette().color(m_role), kRingWidth));
    painter.setBrush(Qt::NoBrush);
    const int inset = kRingWidth / 2;
    painter.drawRect(rect().adjusted(inset, inset, -inset, -inset));
}

} // namespace kelvane
