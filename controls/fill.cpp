#include "controls/fill.h"

#include <QEvent>
#include <QWidget>

namespace kelvane {

namespace {

// Keeps the inner widget over the whole of its control. A layout would do the
// same, but would also ask every control for its size hints as the window
// first shows, which costs start-up time for sizes the fixed layout ignores.
class Filler final : public QObject
{
public:
    Filler(QWidget &control, QWidget &inner) : QObject(&inner), m_inner(inner)
    {
        inner.setGeometry(control.rect());
        control.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_inner.setGeometry(static_cast<QWidget *>(watched)->rect());
        return false;
    }

private:
    QWidget &m_inner;
};

} // namespace

void fillWith(QWidget &control, QWidget &inner, InnerFocus focus)
{
    new Filler(control, inner);
    if (focus == InnerFocus::Forwarded)
        control.setFocusProxy(&inner);
}

} // namespace kelvane
