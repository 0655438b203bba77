#pragma once

#include <QListView>

namespace kelvane {

// The list view under a FileList: only Shift, Ctrl and Ctrl+A select several
// entries; a plain drag moves the one selection, as in a list of one
// selection, rather than selecting the rows it passes. The first arrow key selects the entry the
// view marks as current rather than moving past it, and the last selected
// entry cannot be deselected, so the user never leaves the list without a
// selection once one was made. A context menu is asked for as Windows lists
// ask: by a right click on an entry, which selects it alone first, or by the Menu key or
// Shift+F10, for the selected entry. The selection is drawn as with the focus
// when the list has lost it: the native Windows styles draw it then in a grey
// that can hardly be seen, whatever the palette says.
class FileListView final : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListView)

public:
    using QListView::QListView;

signals:
    // The context menu is to open at the point given, on the screen.
    void menuAsked(const QPoint &at);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void initViewItemOption(QStyleOptionViewItem *option) const override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;

private:
    void askMenuForSelection();

    // Whether a plain drag has moved the selection since the button went down.
    bool m_draggedTo = false;
};

} // namespace kelvane
