#pragma once

#include <QList>
#include <QString>

namespace kelvane {

// An entry a folder list shows below the chain of open folders: a subfolder,
// or a FAR archive, which opens like one.
struct FolderEntry {
    QString name;
    QString key; // the name folded to one case, by which entries are sorted
    bool archive = false;

    friend bool operator==(const FolderEntry &a, const FolderEntry &b)
    {
        return a.archive == b.archive && a.name == b.name;
    }
};

// The order of the list: subfolders, then archives, each by name ignoring
// case (names differing only in case by their exact spelling).
bool listedBefore(const FolderEntry &a, const FolderEntry &b);

// The subfolders of folder, and links to them, then its archives and links to
// them, in list order; hidden ones too, except on Windows. Inside an archive,
// the folders its entries lie in. Each entry costs the file system's record
// of it, never a look at the entry itself, except for links and names ending
// in ".far". Safe on any thread.
QList<FolderEntry> folderEntries(const QString &folder);

} // namespace kelvane
