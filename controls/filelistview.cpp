#include "controls/filelistview.h"

#include <QKeyEvent>

namespace kelvane {

void FileListView::keyPressEvent(QKeyEvent *event)
{
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
