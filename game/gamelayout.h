#pragma once

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

} // namespace kelvane
