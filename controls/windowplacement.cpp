#include "controls/windowplacement.h"

#include <QEvent>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace kelvane {

namespace {

QMargins frameMarginsOf(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

QPoint centredFrameTopLeft(const QWidget &window, const QRect &area, const QMargins &margins)
{
    QRect frame(QPoint(0, 0), window.size().grownBy(margins));
    frame.moveCenter(area.center());
    return frame.topLeft();
}

// Centres the window again once its manager has framed it, if the frame
// turns out other than assumed; then leaves it where the user puts it.
class Recentring final : public QObject
{
public:
    Recentring(QWidget &window, const QRect &area, const QMargins &assumed)
        : QObject(&window), m_window(window), m_area(area), m_assumed(assumed)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &m_window ||
            (event->type() != QEvent::Move && event->type() != QEvent::Resize))
            return false;
        const QMargins margins = frameMarginsOf(m_window);
        if (margins.isNull())
            return false;
        if (margins != m_assumed)
            m_window.move(centredFrameTopLeft(m_window, m_area, margins));
        deleteLater();
        return false;
    }

private:
    QWidget &m_window;
    QRect m_area;
    QMargins m_assumed;
};

} // namespace

void centreWindow(QWidget &window, const QRect &area, const QWidget *like)
{
    QMargins margins = frameMarginsOf(window);
    if (margins.isNull() && like)
        margins = frameMarginsOf(*like);
    // move() places the frame's top-left corner.
    window.move(centredFrameTopLeft(window, area, margins));
    for (QObject *child : window.children()) {
        if (auto *earlier = dynamic_cast<Recentring *>(child))
            delete earlier;
    }
    new Recentring(window, area, margins);
}

void centreOnScreen(QWidget &window)
{
    centreWindow(window, window.screen()->availableGeometry());
}

void centreOverOwner(QWidget &window, const QWidget &owner)
{
    centreWindow(window, owner.frameGeometry(), &owner);
}

} // namespace kelvane
