#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kelvane {

// The names of the files in a folder (hidden ones too, no folders).
using FolderLister = std::function<QStringList(const QString &folder)>;

// Each argument whose file name holds "*" or "?" replaced by the files that
// match, as Windows matches them: "*" any run of characters, "?" one, case
// ignored, and a name without an extension matching a pattern that ends in
// ".*" ("*.*" matches every file). A path into a FAR archive
// ("ARCHIVE.far/Skins/B9*.cmx.bcf") matches the archive's entries of that
// folder; any other pattern matches the files of its folder, as listFolder
// lists them, and stays as given when listFolder is empty (the shell has
// expanded it). The matches keep the folder as given and come in the order
// Windows lists them. Other arguments stay as they are. A pattern that
// matches nothing, or that has "*" or "?" in a folder's name, is the failure.
Result<QStringList> expandFilePatterns(const QStringList &arguments,
                                       const FolderLister &listFolder);

// The lister of the file system: the files of folder, links to files among them.
QStringList filesInFolder(const QString &folder);

} // namespace kelvane
