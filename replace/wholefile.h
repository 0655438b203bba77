#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>

namespace kelvane {

// Writing a file so that what is reported written is on the disk, whole. A
// buffered write can fail only when it is flushed, and a flush or a sync only
// when the disk is full; each is checked, not only the write.

// "NAME: the file cannot be written (REASON)."
QString cannotWriteText(const QString &path, const QString &reason);

// What to do when Windows refuses a write into the folder of installed
// programs, where the game usually lives; empty elsewhere.
QString programFilesAdvice(const QString &path);

// Writes bytes into the new file at path, which must not exist, flushes them
// and syncs them to the disk, checking each step (the replace steps WriteNew
// and SyncNew). On any failure the file is removed, and the message names
// shownPath, the file the write was for.
Result<void> writeSyncedNewFile(const QString &path, const QByteArray &bytes,
                                const QString &shownPath);

// Writes bytes as the file at path, whole or not at all: a synced new file
// beside it takes the name in one step, replacing a regular file of that
// name. On any failure only what was there before is left under that name.
Result<void> writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace kelvane
