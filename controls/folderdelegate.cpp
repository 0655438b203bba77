#include "controls/folderdelegate.h"

namespace kelvane {

namespace {

constexpr int kIndentPerLevel = 8;

} // namespace

void FolderDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const
{
    QStyleOptionViewItem indented = option;
    indented.rect.setLeft(option.rect.left() + indentOf(index));
    // The current folder stays as plain to see when the list loses the focus,
    // which the native Windows styles otherwise draw in a faint grey.
    indented.state |= QStyle::State_Active;
    QStyledItemDelegate::paint(painter, indented, index);
}

QSize FolderDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return QStyledItemDelegate::sizeHint(option, index) + QSize(indentOf(index), 0);
}

int FolderDelegate::indentOf(const QModelIndex &index)
{
    return index.data(kFolderLevelRole).toInt() * kIndentPerLevel;
}

} // namespace kelvane
