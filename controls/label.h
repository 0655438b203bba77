#pragma once

#include <QWidget>

class QLabel;

namespace kelvane {

// A caption that takes no focus; clicked() follows a left click on it.
class Label final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Label)

public:
    explicit Label(const QString &caption, QWidget *parent = nullptr);

    // Layout settings, fixed when the window is built.
    void setAlignment(Qt::Alignment alignment);
    void setWordWrap(bool wrap);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *m_label;
};

} // namespace kelvane
