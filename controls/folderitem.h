#pragma once

#include "controls/folderentries.h"

#include <QIcon>
#include <QListWidgetItem>

namespace kelvane {

// A row of a folder list: a folder of the chain from the root, or an entry of
// the folder shown. An entry's path is made from the folder's only when asked
// for, so that a large folder costs the list little more than its names.
// Answers the roles the folder delegate draws by.
class FolderItem final : public QListWidgetItem
{
public:
    // The folder at folderPath, titled title, in the chain.
    FolderItem(const QString &title, const QString &folderPath, int level, const QIcon &icon);
    // The entry of the folder at folderPath.
    FolderItem(const FolderEntry &entry, const QString &folderPath, int level, const QIcon &icon);

    // The entry an item of the folder shown is.
    static const FolderEntry &entryOf(const QListWidgetItem *item);

    QVariant data(int role) const override;

private:
    FolderEntry m_entry; // only the name for a folder of the chain
    QString m_where;     // the chain folder's path, or the folder holding the entry
    int m_level;
    QIcon m_icon;
    bool m_inFolder;
};

} // namespace kelvane
