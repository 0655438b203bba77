#include "controls/folderitem.h"

#include "controls/folderdelegate.h"

#include <QDir>

namespace kelvane {

FolderItem::FolderItem(const QString &title, const QString &folderPath, int level,
                       const QIcon &icon)
    : QListWidgetItem(nullptr, UserType), m_entry{title, {}, false}, m_where(folderPath),
      m_level(level), m_icon(icon), m_inFolder(false)
{
}

FolderItem::FolderItem(const FolderEntry &entry, const QString &folderPath, int level,
                       const QIcon &icon)
    : QListWidgetItem(nullptr, UserType), m_entry(entry), m_where(folderPath), m_level(level),
      m_icon(icon), m_inFolder(true)
{
}

const FolderEntry &FolderItem::entryOf(const QListWidgetItem *item)
{
    return static_cast<const FolderItem *>(item)->m_entry;
}

QVariant FolderItem::data(int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_entry.name;
    case Qt::DecorationRole:
        return m_icon;
    case kFolderPathRole:
        return m_inFolder ? QDir::toNativeSeparators(QDir(m_where).filePath(m_entry.name))
                          : m_where;
    case kFolderLevelRole:
        return m_level;
    default:
        return QListWidgetItem::data(role);
    }
}

} // namespace kelvane
