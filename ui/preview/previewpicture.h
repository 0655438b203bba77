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
// the front again. Until a scene is given it shows a message instead.
class PreviewPicture final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewPicture)
    Q_PROPERTY(double turn READ turn NOTIFY viewChanged)
    Q_PROPERTY(double pitch READ pitch NOTIFY viewChanged)

public:
    static constexpr float kKeyStepDegrees = 15;
    static constexpr float kMaxPitchDegrees = 75;

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
    QImage m_frame; // the last drawn; null when it must be drawn again
    QPoint m_dragFrom;
    bool m_dragging = false;
};

} // namespace kelvane
