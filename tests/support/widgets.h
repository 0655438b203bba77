#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class QAbstractItemView;

// Finding a control by its object name, or an entry of a list view by its
// text, then clicking or hovering it as the user would. The bool helpers return
// false when there is no such control or entry, so that the test checks them
// with QVERIFY.
namespace testsupport {

// Finds the child of parent of type Control named name.
template <typename Control>
[[nodiscard]] bool findChildNamed(const QObject &parent, const char *name, Control *&found)
{
    found = parent.findChild<Control *>(QLatin1String(name));
    if (!found)
        qWarning("No %s named %s", Control::staticMetaObject.className(), name);
    return found != nullptr;
}

// The texts of the view's entries, top to bottom.
QStringList entryTexts(const QAbstractItemView &view);

// The entry whose text is text, or an invalid index.
QModelIndex entryNamed(const QAbstractItemView &view, const QString &text);

// Scrolls the entry into sight and clicks it, once or twice.
[[nodiscard]] bool clickEntry(QAbstractItemView &view, const QString &text,
                              Qt::KeyboardModifiers modifiers = {});
[[nodiscard]] bool doubleClickEntry(QAbstractItemView &view, const QString &text);

// Rests the pointer on a point of the view's viewport, or on an entry, which
// asks for a tooltip there.
void hoverAt(QAbstractItemView &view, QPoint at);
[[nodiscard]] bool hoverEntry(QAbstractItemView &view, const QString &text);

} // namespace testsupport
