#include "ui/preview/previewpicture.h"

#include "preview/previewscene.h"

#include <QFutureWatcher>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPromise>
#include <QThreadPool>

#include <algorithm>
#include <cmath>

namespace kelvane {

namespace {

// Degrees turned per pixel dragged: a drag across the picture turns the
// character about half round.
constexpr float kDegreesPerPixel = 0.5f;

// The same turn within (-180, 180].
float wrappedTurn(float degrees)
{
    float wrapped = std::fmod(degrees, 360.0f);
    if (wrapped > 180)
        wrapped -= 360;
    else if (wrapped <= -180)
        wrapped += 360;
    return wrapped;
}

} // namespace

PreviewPicture::PreviewPicture(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Preview picture"));
    setAccessibleDescription(
        QStringLiteral("Left and Right turn the character, Up and Down tilt it, Home shows its "
                       "front."));
}

PreviewPicture::~PreviewPicture() = default;

void PreviewPicture::setScene(std::shared_ptr<const PreviewScene> scene)
{
    m_scene = std::move(scene);
    m_frame = {};
    setCursor(m_scene ? Qt::OpenHandCursor : Qt::ArrowCursor);
    update();
}

void PreviewPicture::setTone(const QString &tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    m_frame = {};
    update();
}

void PreviewPicture::setLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    m_frame = {};
    update();
}

void PreviewPicture::setMessage(const QString &message)
{
    m_message = message;
    update();
}

void PreviewPicture::turnBy(float turn, float pitch)
{
    setView(m_view.turnDegrees + turn, m_view.pitchDegrees + pitch);
}

void PreviewPicture::setView(float turn, float pitch)
{
    turn = wrappedTurn(turn);
    pitch = std::clamp(pitch, -kMaxPitchDegrees, kMaxPitchDegrees);
    if (turn == m_view.turnDegrees && pitch == m_view.pitchDegrees)
        return;
    m_view.turnDegrees = turn;
    m_view.pitchDegrees = pitch;
    m_frame = {};
    update();
    emit viewChanged();
}

void PreviewPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_scene) {
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = (QSizeF(size()) * ratio).toSize();
        if (m_frame.size() != pixels) {
            if (m_scene->triangles() <= drawnOnWindowsThread) {
                m_frame = m_scene->render(pixels, m_view, m_tone, m_label);
                m_frame.setDevicePixelRatio(ratio);
                m_shown = m_frame;
            } else {
                drawInBackground(pixels, ratio);
            }
        }
        if (m_shown.isNull())
            painter.fillRect(rect(), m_view.background);
        else
            painter.drawImage(rect(), m_shown);
    } else {
        painter.fillRect(rect(), m_view.background);
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         m_message);
    }
    if (hasFocus()) {
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

// One frame at a time; when it arrives for a view since changed, the next
// paint draws the view then current.
void PreviewPicture::drawInBackground(QSize pixels, qreal ratio)
{
    if (m_drawing)
        return;
    m_drawing = true;
    struct Wanted {
        std::shared_ptr<const PreviewScene> scene;
        QSize pixels;
        PreviewView view;
        QString tone;
        QString label;
    };
    const Wanted wanted{m_scene, pixels, m_view, m_tone, m_label};
    auto promise = std::make_shared<QPromise<QImage>>();
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, wanted, ratio] {
        watcher->deleteLater();
        m_drawing = false;
        if (watcher->future().resultCount() != 1 || wanted.scene != m_scene)
            return update();
        m_shown = watcher->future().result();
        m_shown.setDevicePixelRatio(ratio);
        if (wanted.view.turnDegrees == m_view.turnDegrees &&
            wanted.view.pitchDegrees == m_view.pitchDegrees && wanted.tone == m_tone &&
            wanted.label == m_label)
            m_frame = m_shown;
        update();
        emit frameDrawn();
    });
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, wanted] {
        promise->start();
        promise->addResult(
            wanted.scene->render(wanted.pixels, wanted.view, wanted.tone, wanted.label));
        promise->finish();
    });
}

void PreviewPicture::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        turnBy(-kKeyStepDegrees, 0);
        break;
    case Qt::Key_Right:
        turnBy(kKeyStepDegrees, 0);
        break;
    case Qt::Key_Up:
        turnBy(0, kKeyStepDegrees);
        break;
    case Qt::Key_Down:
        turnBy(0, -kKeyStepDegrees);
        break;
    case Qt::Key_Home:
        setView(0, 0);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PreviewPicture::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_dragFrom = event->position().toPoint();
    if (m_scene)
        setCursor(Qt::ClosedHandCursor);
}

void PreviewPicture::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - std::exchange(m_dragFrom, at);
    // Dragging down brings the top of the character towards the viewer.
    turnBy(moved.x() * kDegreesPerPixel, moved.y() * kDegreesPerPixel);
}

void PreviewPicture::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    if (m_scene)
        setCursor(Qt::OpenHandCursor);
}

} // namespace kelvane
