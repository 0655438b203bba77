#pragma once

#include <QByteArray>
#include <QString>

namespace kelvane {

// The input files as the create command reads them. Errors name the file and
// the fault.

// The bytes read from an input file, or a message naming the file and the fault.
struct InputBytes {
    QByteArray bytes;
    QString error;
};

// Reads a character file as far as composing uses it: up to the end of the
// last skin group its count announces. A file without any CR LF is read to its
// end, since its line ends then depend on the whole text. A file larger than
// any character file is refused unread.
InputBytes readCharacterFile(const QString &path);

// Reads the first 400 bytes of a mesh file, all composing uses.
InputBytes readMeshFileStart(const QString &path);

// The message for a fault in the content of the input file at path.
QString inputFileFault(const QString &path, const QString &reason);

} // namespace kelvane
