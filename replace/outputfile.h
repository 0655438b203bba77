#pragma once

#include "base/result.h"
#include "replace/replace.h"

#include <QByteArray>
#include <QString>

namespace kelvane {

// Whether the old content of a replaced file is kept (see backupPathFor).
enum class Backup { Keep, Skip };

// Whether outputPath may be written: its folder exists and is a folder, and
// the path is no dangling link, no folder and no special file. A link to a
// file is written through.
Result<void> checkOutputPath(const QString &outputPath);

// Whether the existing file at path (through a link) may be replaced: only a
// character file of either format, or an empty file, may be. Any other
// content is refused, naming the file: another kind of the game's files (an
// archive, a mesh), saying what it is, and content of no kind the game uses,
// which may be another program's file reached by a wrong name.
Result<void> checkReplaceable(const QString &path);

// Replaces the file at path (through a link) by bytes in one step, as
// replaceFile does. With Backup::Keep and an existing file, its old content is
// kept under backupPathFor(path). A file that is no character file is
// refused (checkReplaceable), and nothing is written. On any failure the old file stays as it was
// and no backup is left. What an interrupted earlier replace left is settled
// first.
Result<Replaced> writeCharacterFile(const QString &path, const QByteArray &bytes,
                                    Backup backup = Backup::Keep);

// Settles what interrupted replaces of the file at path (through a link)
// left, as the next replace of it would (see settleInterruptedReplaces); every
// run that reads or restores a file does so first. What was done.
QStringList settleLeftoversOf(const QString &path);

} // namespace kelvane
