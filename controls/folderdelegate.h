#pragma once

#include <QStyledItemDelegate>

namespace kelvane {

// Item data roles of a folder entry: its full native path, and its depth
// below the drive root.
inline constexpr int kFolderPathRole = Qt::UserRole;
inline constexpr int kFolderLevelRole = Qt::UserRole + 1;

// Draws each folder entry indented by its depth, as a classic folder list, and
// the selected one as with the focus, with it or without.
class FolderDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderDelegate)

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    static int indentOf(const QModelIndex &index);
};

} // namespace kelvane
