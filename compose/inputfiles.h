#pragma once

#include "compose/result.h"

#include <QByteArray>
#include <QString>

namespace kelvane {

// The input files as the create command reads them. Errors name the file and
// the fault.

// Whether the file at path can be read as an input: it exists under a name the
// system could decode, and it is a regular file (links followed), so that
// opening it never waits. Nothing is opened.
Result<void> checkInputFile(const QString &path);

// Reads a character file as far as composing uses it: up to the end of the
// last skin group its count announces. A file without any CR LF is read to its
// end, since its line ends then depend on the whole text. A file larger than
// any character file is refused unread.
Result<QByteArray> readCharacterFile(const QString &path);

// Reads the first 400 bytes of a mesh file, all composing uses.
Result<QByteArray> readMeshFileStart(const QString &path);

// The message for a fault in the content of the input file at path.
QString inputFileFault(const QString &path, const QString &reason);

} // namespace kelvane
