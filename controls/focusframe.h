#pragma once

#include <QPalette>
#include <QWidget>

namespace kelvane {

// A ring drawn just inside a widget while it has the keyboard focus, for
// widgets whose style shows the focus faintly or not at all. It lies over the
// widget's own painting and takes no input.
class FocusFrame final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FocusFrame)

public:
    // Rings target in the colour its palette has for role.
    FocusFrame(QWidget &target, QPalette::ColorRole role);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget &m_target;
    QPalette::ColorRole m_role;
};

} // namespace kelvane
