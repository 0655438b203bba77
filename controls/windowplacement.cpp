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

// Places the window so that a frame of these margins around it is centred on
// area. The window itself is placed rather than its frame: the frame that
// move() would assume is the one the window had last, none before it is
// framed.
void placeCentred(QWidget &window, const QRect &area, const QMargins &margins)
{
    QRect frame(QPoint(0, 0), window.size().grownBy(margins));
    frame.moveCenter(area.center());
    window.setGeometry(frame.marginsRemoved(margins));
}

// Centres the window again once its manager has framed it, if the frame
// turns out other than assumed; then leaves it where the user puts it. A
// manager frames a window before it maps it, so the frame is known by the
// first paint; it need not move the window, which then gets no Move.
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
        if (watched != &m_window)
            return false;
        const QEvent::Type type = event->type();
        if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Paint)
            return false;
        const QMargins margins = frameMarginsOf(m_window);
        // Moves before the window is framed say nothing yet; a paint without
        // a frame means there is no manager to frame it, and the assumed
        // frame stands.
        if (margins.isNull() && type != QEvent::Paint)
            return false;
        if (!margins.isNull() && margins != m_assumed)
            placeCentred(m_window, m_area, margins);
        m_window.removeEventFilter(this);
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
    placeCentred(window, area, margins);
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
