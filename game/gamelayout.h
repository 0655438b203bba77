#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace kelvane {

// Where a game installation keeps its files, found as the game names its
// folders: without regard to case.

// The folder reached from folder through the subfolders names, each matched
// in any case ({"GameData", "Skins"}); empty when one is missing.
QString subfolderNamed(const QString &folder, const QStringList &names);

// The game folder that holds folder: the nearest of folder and its ancestors
// with a GameData subfolder; empty when there is none.
QString gameFolderHolding(const QString &folder);

// The FAR archives under gameFolder, the shallowest first and each folder's
// in the order of their names. The walk is bounded in depth, in folders
// entered and in archives found, follows no link to a folder (so it cannot
// loop), and keeps only regular files.
QStringList archivesUnder(const QString &gameFolder);

// A name the game looks up in its folder, read from a file: not empty, no "."
// or "..", no folder or drive separator, no ASCII control character (C0 or
// DEL). Bytes 0x80 to 0x9F are letters of the game's single-byte names and
// pass. Anything else would lead a copy or a read elsewhere.
bool isPlainFileName(QByteArrayView name);

} // namespace kelvane
