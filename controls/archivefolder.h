#pragma once

#include "base/result.h"
#include "inputs/archivepath.h"

#include <QStringList>

namespace kelvane {

// A folder inside a FAR archive, as the browsers show it. An archive holds
// only files, named with "/" between folders; a folder is there while some
// entry lies under it.
struct ArchiveFolder {
    QString inner;       // the folder's names as the archive spells them; empty for its top
    QStringList folders; // the folders directly in it
    QStringList files;   // the names of the entries directly in it
};

// The folder where leads to, each list sorted by name ignoring case, names
// differing only in case listed once; or why it cannot be listed: the
// archive cannot be read, or holds no such folder. Entries named as character
// files that hold skeletons or skills are left out.
Result<ArchiveFolder> readArchiveFolder(const ArchivePath &where);

// The native path of the folder: the archive's path, then the folder's names.
QString archiveFolderPath(const QString &archive, const QString &inner);

// The folder inside the game's archives that holds most of its own character
// files (skeletons and animations not counted), as a native path
// ("ARCHIVE.far\Skins"); the shallowest archive wins a tie. Empty when no
// archive under gameFolder holds one. Reads each archive's list of entries
// and a few bytes of each character file: call it off the window's thread.
QString characterFolderOf(const QString &gameFolder);

} // namespace kelvane
