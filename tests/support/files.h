#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <string>

// Game texts and files for tests, shared by the GoogleTest and the Qt Test suites.
namespace testsupport {

struct Skin {
    QByteArray bone;
    QByteArray mesh;
};

// A character file in the game's layout holding skins, its lines ended by
// lineEnd, followed by a trailing section the composer must drop.
QByteArray characterFile(const QList<Skin> &skins, const QByteArray &lineEnd = "\r\n");

// A character file with the count line written as given, for malformed counts.
QByteArray characterFileWithCount(const QByteArray &countLine, const QList<Skin> &skins);

// A mesh file whose first lines are name, texture, a number and bone, padded
// with vertex lines to at least minimumSize bytes.
QByteArray meshFile(const QByteArray &name, const QByteArray &bone, qsizetype minimumSize = 400);

// The header of a BMP as the game's checks read it, the rest filled with fill.
QByteArray bmpHeader(quint16 bits, qint32 width, qint32 height, char fill = '\0');

// The game's binary files, built from their published layouts: little-endian
// u32 numbers, strings as a length byte and the bytes.

struct BinarySkin {
    QByteArray bone;
    QByteArray mesh;
    quint32 censorFlags = 0;
    quint32 second = 0;
};

// A binary character file (.cmx.bcf): skeletons and skills are given as
// counts only, followed by nothing (enough for a reader to refuse them).
struct BinaryCharacter {
    QByteArray name = "B001FAFit_01";
    quint32 type = 0;
    quint32 second = 0;
    QList<BinarySkin> skins;
    quint32 skeletons = 0;
    quint32 suits = 1;
    quint32 skills = 0;
};
QByteArray binaryCharacterFile(const BinaryCharacter &character);

// A body of two skins whose numbers fill every field of the layout.
extern const BinaryCharacter kBody;

// Every field of a character, for comparisons that show what differs.
std::string shown(const BinaryCharacter &c);

// A binary mesh (.bmf): name, texture, the bone names, then geometryBytes of
// stand-in geometry.
QByteArray binaryMeshFile(const QByteArray &name, const QByteArray &texture,
                          const QList<QByteArray> &bones, qsizetype geometryBytes = 256);

// A FAR archive of version 1a holding the files in order; names may hold "\"
// between folders.
struct ArchivedFile {
    QByteArray name;
    QByteArray bytes;
};
QByteArray farArchive(const QList<ArchivedFile> &files);
// The same laid out as other FAR versions: the version number in the heading,
// and name lengths of nameLengthBytes (2 in version 1b, 4 in 1a).
QByteArray farArchive(const QList<ArchivedFile> &files, quint32 version, int nameLengthBytes);

void appendU32(QByteArray &out, quint32 value);
void appendString(QByteArray &out, const QByteArray &text);

// Writes bytes to the file at path; false when they could not all be written.
[[nodiscard]] bool writeFile(const QString &path, const QByteArray &bytes);

// The bytes of the file at path. Throws std::runtime_error when it cannot be
// read, which GoogleTest reports as the failure of the test.
QByteArray readFile(const QString &path);

// Sets the time of change of the file at path secondsAhead seconds from now,
// so that whatever was read of it counts as out of date.
[[nodiscard]] bool touchFile(const QString &path, int secondsAhead);

} // namespace testsupport
