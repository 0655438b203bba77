#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// A game folder whose GameData/Skins holds one file for every finding of a
// folder check, beside clean files, for the tests of the check, its mends and
// --check-folder.
namespace testsupport {

// A BMP of width x height pixels with bits per pixel (8 or 24), readable by
// any BMP reader.
QByteArray bmpFile(int bits, int width, int height);

// A text character file named name inside, wearing meshes (the first on
// PELVIS, the others on HEAD).
QByteArray namedCharacterFile(const QByteArray &name, const QList<QByteArray> &meshes);

struct SeededGame {
    QString game;          // ROOT/game
    QString skins;         // its GameData/Skins: every finding but two
    QString skinsBuy;      // its ExpansionShared/SkinsBuy: a buyable outfit without its mesh
    QString virtualStore;  // ROOT/VirtualStore: a mesh redirected from the Skins folder
    bool caseTwins = true; // dup.skn and DUP.skn are two files (not on Windows)
};

// Writes the game under root; empty paths when a file cannot be written.
SeededGame writeSeededGame(const QString &root);

// The bytes of every file under folder, by path.
QHash<QString, QByteArray> filesUnder(const QString &folder);

} // namespace testsupport
