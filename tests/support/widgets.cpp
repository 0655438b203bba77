#include "tests/support/widgets.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QTest>

#include <optional>

namespace testsupport {

namespace {

// The centre of the entry, scrolled into sight, or nothing when it is not listed.
std::optional<QPoint> centreOfEntry(QAbstractItemView &view, const QString &text)
{
    const QModelIndex entry = entryNamed(view, text);
    if (!entry.isValid())
        return std::nullopt;
    view.scrollTo(entry);
    return view.visualRect(entry).center();
}

} // namespace

QStringList entryTexts(const QAbstractItemView &view)
{
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        texts << view.model()->index(row, 0).data().toString();
    return texts;
}

QModelIndex entryNamed(const QAbstractItemView &view, const QString &text)
{
    const QModelIndexList found =
        view.model()->match(view.model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly);
    return found.isEmpty() ? QModelIndex() : found.first();
}

bool clickEntry(QAbstractItemView &view, const QString &text, Qt::KeyboardModifiers modifiers)
{
    const std::optional<QPoint> at = centreOfEntry(view, text);
    if (at)
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, *at);
    return at.has_value();
}

bool doubleClickEntry(QAbstractItemView &view, const QString &text)
{
    const std::optional<QPoint> at = centreOfEntry(view, text);
    if (at)
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, *at);
    return at.has_value();
}

void hoverAt(QAbstractItemView &view, QPoint at)
{
    QHelpEvent event(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
}

bool hoverEntry(QAbstractItemView &view, const QString &text)
{
    const std::optional<QPoint> at = centreOfEntry(view, text);
    if (at)
        hoverAt(view, *at);
    return at.has_value();
}

} // namespace testsupport
