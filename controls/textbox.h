#pragma once

#include <QWidget>

class QLineEdit;

namespace kelvane {

// A single-line text field. changed() follows every change of the text,
// typed or written, before the write returns.
class TextBox final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextBox)

public:
    explicit TextBox(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

signals:
    void changed();

private:
    QLineEdit *m_edit;
};

} // namespace kelvane
