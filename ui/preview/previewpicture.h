#pragma once

#include "preview/renderer.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <memory>

namespace kelvane {

class PreviewScene;

// The character drawn in software, turned by a drag of the mouse (across
// turns it, up and down tilts it) or by the arrow keys; Home shows it from
// the front again. Until a scene is given it shows a message instead. A
// scene too large to draw between two moves of the mouse is drawn off the
// window's thread, the last frame shown meanwhile, so dragging stays smooth.
class PreviewPicture final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewPicture)
    Q_PROPERTY(double turn READ turn NOTIFY viewChanged)
    Q_PROPERTY(double pitch READ pitch NOTIFY viewChanged)

public:
    static constexpr float kKeyStepDegrees = 15;
    static constexpr float kMaxPitchDegrees = 75;
    // Scenes of more triangles are drawn off the window's thread: one frame
    // of 100,000 takes about 10 ms.
    static inline qsizetype drawnOnWindowsThread = 100000;

    explicit PreviewPicture(QWidget *parent = nullptr);
    ~PreviewPicture() override;

    double turn() const { return m_view.turnDegrees; }
    double pitch() const { return m_view.pitchDegrees; }

    void setScene(std::shared_ptr<const PreviewScene> scene);
    // One of the scene's tones; any other draws its first.
    void setTone(const QString &tone);
    // One of the scene's labels in the tone; any other draws its default.
    void setLabel(const QString &label);
    // Shown, word-wrapped, while there is no scene.
    void setMessage(const QString &message);
    QString message() const { return m_message; }

signals:
    void viewChanged();
    // A frame drawn off the window's thread arrived.
    void frameDrawn();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Turns by turn and tilts by pitch degrees, the tilt kept within bounds.
    void turnBy(float turn, float pitch);
    void setView(float turn, float pitch);

    std::shared_ptr<const PreviewScene> m_scene;
    QString m_tone;
    QString m_label;
    QString m_message;
    PreviewView m_view;
    void drawInBackground(QSize pixels, qreal ratio);

    QImage m_frame; // the last drawn for the view; null when it must be drawn again
    QImage m_shown; // the last drawn, shown while a frame is drawn off the thread
    bool m_drawing = false;
    QPoint m_dragFrom;
    bool m_dragging = false;
};

} // namespace kelvane
