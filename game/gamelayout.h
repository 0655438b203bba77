#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace kelvane {

// Where a game installation keeps its files, found as the game names its
// folders (base/gamefoldernames.h): without regard to case.

// The game folder that holds folder: the nearest of folder and its ancestors
// with a GameData subfolder; empty when there is none.
QString gameFolderHolding(const QString &folder);

// The game's folders of loose skins that gameFolder holds, in the order the
// game reads them: GameData/Skins, then ExpansionShared/SkinsBuy.
QStringList looseSkinFoldersOf(const QString &gameFolder);

// The game's Skins folder near the archive at archivePath, for the files made
// from its entries: GameData/Skins of the archive's folder or of the folder
// above it (either of which may be GameData itself); the archive's folder
// when neither holds one. In native separators.
QString skinsFolderNearArchive(const QString &archivePath);

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
