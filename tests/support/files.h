#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

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

// Writes bytes to the file at path; false when they could not all be written.
[[nodiscard]] bool writeFile(const QString &path, const QByteArray &bytes);

// The bytes of the file at path. Throws std::runtime_error when it cannot be
// read, which GoogleTest reports as the failure of the test.
QByteArray readFile(const QString &path);

} // namespace testsupport
