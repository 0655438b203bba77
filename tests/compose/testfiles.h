#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Builders for the game texts the tests feed the composer.
namespace testfiles {

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

QByteArray readAll(const QString &path);
void writeAll(const QString &path, const QByteArray &bytes);

} // namespace testfiles
