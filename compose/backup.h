#pragma once

#include "compose/result.h"

#include <QString>

namespace kelvane {

// The file that writing to path replaces: the file a symbolic link at path
// leads to, every link resolved, or path itself. Empty for a dangling link.
QString replacedFilePath(const QString &path);

// The name the old content of the file at outputPath is kept under when it is
// replaced: beside the file actually replaced, its name followed by ".bak", or
// the first free of ".bak2", ".bak3", ... A backup never ends in ".cmx", so the
// game never loads it.
QString backupPathFor(const QString &outputPath);

// Keeps the content of the existing regular file at path under the first free
// backup name, never replacing any file: a hard link when the file system has
// them, a copy otherwise. Gives the backup's path.
Result<QString> makeBackup(const QString &path);

} // namespace kelvane
