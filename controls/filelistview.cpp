#include "controls/filelistview.h"

#include <QKeyEvent>

namespace kelvane {

void FileListView::keyPressEvent(QKeyEvent *event)
{
    // The first arrow key after the list gets the focus selects the entry the
    // view marks as current rather than moving past it.
    const QModelIndex previous = currentIndex();
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (arrow && previous.isValid() && !selectionModel()->isSelected(previous)) {
        selectionModel()->select(previous, QItemSelectionModel::ClearAndSelect);
        emit movedByKeyboard();
        return;
    }
    // Covers arrows, paging and typed letters alike.
    QListView::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != previous)
        emit movedByKeyboard();
}

QItemSelectionModel::SelectionFlags FileListView::selectionCommand(const QModelIndex &index,
                                                                   const QEvent *event) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (command & QItemSelectionModel::Deselect)
        return QItemSelectionModel::ClearAndSelect;
    return command;
}

} // namespace kelvane
