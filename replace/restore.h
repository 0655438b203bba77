#pragma once

#include "base/result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane {

// Undoing a replace: the content of a backup is put back into the file it
// was kept for. What is put back is a copy: the backup stays as it is, and
// the file's content until then is kept as a backup first, so that a restore
// is undone the same way and no content is ever lost.

struct BackupFile {
    QString path;
    QDateTime modified;
    qint64 size = 0;
};

// The backups of the file at path, beside the file a link at path leads to:
// regular files named as the file followed by ".bak", or ".bak2", ".bak3",
// ..., newest first by their time of modification. A backup takes the first
// free number, so a ".bak" can be newer than a ".bak2".
QList<BackupFile> backupsOf(const QString &path);

// The file whose backup the file at backupPath is, by its name
// ("B.cmx.bak3" gives "B.cmx"); empty when the name is no backup's.
QString fileOfBackup(const QString &backupPath);

struct Restored {
    QString path;       // the file written: where a link led
    QString backupPath; // the backup its content came from, unchanged
    QString keptAs;     // where its content until then is kept; empty when it had none
    // What settling an earlier, interrupted replace of the file did.
    QStringList settled;
};

// Replaces the file at path (through a link) by a copy of the backup at
// backupPath, as replaceFile does, keeping its content until then as a backup.
// Text or binary, the bytes are put back as they are.
Result<Restored> restoreBackup(const QString &path, const QString &backupPath);

// Restores the newest of the file's backups; fails naming the file when it
// has none.
Result<Restored> restoreNewestBackup(const QString &path);

} // namespace kelvane
