#pragma once

#include <QListView>

namespace kelvane {

// The list view under a FileList: the first arrow key selects the entry the
// view marks as current rather than moving past it, and a selected entry
// cannot be deselected, so the user never leaves the list without a selection
// once one was made.
class FileListView final : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListView)

public:
    using QListView::QListView;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
};

} // namespace kelvane
