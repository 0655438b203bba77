#pragma once

#include <QLabel>

namespace kelvane {

// A few word-wrapped lines of plain text in a fixed place. Text that needs
// more lines than fit is cut after the last that fits, ending in "…", and
// shown whole in the tooltip.
class NotesLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotesLabel)

public:
    explicit NotesLabel(QWidget *parent = nullptr);

    // Call once the label has its font and size.
    void setNotes(const QString &notes);
    QString notes() const { return m_notes; }

private:
    QString m_notes;
};

} // namespace kelvane
