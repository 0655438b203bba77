#pragma once

#include "base/result.h"

#include <QString>

namespace kelvane {

// The file that writing to path replaces: the file a symbolic link at path
// leads to, every link resolved, under its long name on Windows; or path
// itself when it does not exist. Empty for a dangling link.
QString replacedFilePath(const QString &path);

// The name the old content of the file at outputPath is kept under when it is
// replaced: beside the file actually replaced, its name followed by ".bak", or
// the first free of ".bak2", ".bak3", ... A backup never ends in ".cmx", so the
// game never loads it.
QString backupPathFor(const QString &outputPath);

// Backups are numbered from 1 (".bak") to this; the bound only ends a search.
constexpr int kMaxBackups = 9999;

// The backup name of the file at path with that number: ".bak" for 1,
// ".bak2" for 2, ...
QString backupName(const QString &path, int number);

// Why the file at path cannot be replaced with a backup: no backup name is free.
QString noFreeBackupName(const QString &path);

// How a message names the backup at backupPath of the file at path: by its
// name when it lies beside path, by its whole path when it lies beside the
// file a link at path leads to.
QString shownBackupName(const QString &backupPath, const QString &path);

} // namespace kelvane
