#pragma once

#include "compose/replace.h"
#include "compose/result.h"

#include <QByteArray>
#include <QString>

namespace kelvane {

// Whether the old content of a replaced file is kept (see backupPathFor).
enum class Backup { Keep, Skip };

// Whether outputPath may be written: its folder exists and is a folder, and
// the path is no dangling link, no folder and no special file. A link to a
// file is written through.
Result<void> checkOutputPath(const QString &outputPath);

// Replaces the file at path (through a link) by bytes in one step, as
// replaceFile does. With Backup::Keep and an existing file, its old content is
// kept under backupPathFor(path); on any failure the old file stays as it was
// and no backup is left. What an interrupted earlier replace left is settled
// first.
Result<Replaced> writeCharacterFile(const QString &path, const QByteArray &bytes,
                                    Backup backup = Backup::Keep);

} // namespace kelvane
