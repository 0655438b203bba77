#pragma once

#include <QWidget>

class QPushButton;

namespace kelvane {

// A push button; setEnabled(false) greys it out and stops its clicked().
// Space, Enter and Return press it when it has the focus.
class CommandButton final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandButton)

public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

signals:
    void clicked();

private:
    QPushButton *m_button;
};

// Makes button show its palette's face on every style: the native styles of
// Windows draw their own face and ignore it.
void showPaletteFace(QPushButton &button);

// A push button of a small window: named name, placed at geometry, in font,
// its face of colour face on every style.
QPushButton *facedButton(const QString &caption, const QString &name, const QRect &geometry,
                         const QFont &font, const QColor &face, QWidget *window);

} // namespace kelvane
