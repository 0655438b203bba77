#include "controls/filelistview.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace kelvane {

void FileListView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() != QContextMenuEvent::Mouse)
        return askMenuForSelection();
    // Only an entry has a menu; the press has selected it, unless a style
    // leaves that to the release.
    const QModelIndex entry = indexAt(event->pos());
    if (!entry.isValid())
        return;
    // The menu's commands work on one file: the one clicked.
    if (!selectionModel()->isSelected(entry) || selectionModel()->selectedIndexes().size() > 1)
        selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
    emit menuAsked(event->globalPos());
}

void FileListView::initViewItemOption(QStyleOptionViewItem *option) const
{
    QListView::initViewItemOption(option);
    option->state |= QStyle::State_Active;
}

void FileListView::keyPressEvent(QKeyEvent *event)
{
    // Some systems make these keys a request of their own, which comes
    // first; the key then goes to the menu it opened.
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (shiftF10 || event->key() == Qt::Key_Menu)
        return askMenuForSelection();
    // The view marks an entry as current when it gets the focus, without
    // selecting it; the first arrow key selects that entry.
    const QModelIndex current = currentIndex();
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (arrow && current.isValid() && !selectionModel()->isSelected(current)) {
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
        return;
    }
    QListView::keyPressEvent(event);
}

void FileListView::mouseMoveEvent(QMouseEvent *event)
{
    // A drag selects from the press to the pointer only in a list of several
    // selections; without Shift or Ctrl it is handled as a list of one does.
    const bool plainDrag = selectionMode() == ExtendedSelection &&
                           !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (!plainDrag)
        return QListView::mouseMoveEvent(event);
    const QModelIndex before = currentIndex();
    setSelectionMode(SingleSelection);
    QListView::mouseMoveEvent(event);
    setSelectionMode(ExtendedSelection);
    m_draggedTo |= currentIndex() != before;
}

void FileListView::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    if (!std::exchange(m_draggedTo, false) || event->button() != Qt::LeftButton)
        return;
    // The entry dragged to is where a Shift+click selects from next, as if
    // it had been clicked.
    QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->scenePosition(),
                      event->globalPosition(), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QListView::mousePressEvent(&press);
    QMouseEvent release(QEvent::MouseButtonRelease, event->position(), event->scenePosition(),
                        event->globalPosition(), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QListView::mouseReleaseEvent(&release);
}

void FileListView::askMenuForSelection()
{
    // Below the selected entry, or at the list's corner.
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    QPoint at(0, 0);
    if (!selected.isEmpty()) {
        scrollTo(selected.first());
        at = visualRect(selected.first()).bottomLeft();
    }
    emit menuAsked(viewport()->mapToGlobal(at));
}

QItemSelectionModel::SelectionFlags FileListView::selectionCommand(const QModelIndex &index,
                                                                   const QEvent *event) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (command & QItemSelectionModel::Deselect)
        return QItemSelectionModel::ClearAndSelect;
    // Ctrl+click takes an entry out of several, never the last one.
    const bool onlySelected =
        selectionModel()->isSelected(index) && selectionModel()->selectedIndexes().size() == 1;
    if ((command & QItemSelectionModel::Toggle) && onlySelected)
        return QItemSelectionModel::NoUpdate;
    return command;
}

} // namespace kelvane
