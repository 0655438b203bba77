#pragma once

#include <QListView>

namespace kelvane {

// The list view under a FileList: tells apart the user's keyboard moves from
// the list's own changes, and keeps a selected entry from being deselected.
class FileListView final : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListView)

public:
    using QListView::QListView;

signals:
    void movedByKeyboard();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
};

} // namespace kelvane
