#include "ui/preview/noteslabel.h"

#include <QFontMetrics>
#include <QTextLayout>

namespace kelvane {

namespace {

// The lines text wraps into at width, paragraph by paragraph.
QStringList wrappedLines(const QString &text, const QFont &font, int width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
        }
        layout.endLayout();
    }
    return lines;
}

} // namespace

NotesLabel::NotesLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void NotesLabel::setNotes(const QString &notes)
{
    m_notes = notes;
    const QFontMetrics metrics(font());
    QStringList lines = wrappedLines(notes, font(), width());
    // Measured as the label draws them, so that no line shows cut in half.
    const auto heightOf = [&](qsizetype count) {
        return metrics
            .boundingRect(QRect(0, 0, width(), QWIDGETSIZE_MAX), Qt::AlignLeft,
                          QStringList(count, QStringLiteral("X")).join(QLatin1Char('\n')))
            .height();
    };
    qsizetype fitting = 1;
    while (fitting < lines.size() && heightOf(fitting + 1) <= height())
        ++fitting;
    const bool cut = lines.size() > fitting;
    if (cut) {
        lines.resize(fitting);
        // Ends in "…" whether the last line had room for it or is shortened.
        lines.last() = metrics.elidedText(lines.last() + QLatin1Char(' ') + QChar(0x2026),
                                          Qt::ElideRight, width());
    }
    setText(lines.join(QLatin1Char('\n')));
    setToolTip(cut ? notes : QString());
    setAccessibleDescription(notes);
}

} // namespace kelvane
