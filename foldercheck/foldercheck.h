#pragma once

#include "foldercheck/folderreport.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kelvane {

struct FolderCheckRequest {
    // A Skins or SkinsBuy folder, or any folder of downloads, checked as if
    // it were the game's Skins.
    QString folder;
    // The games to count when no game folder holds the folder: every one found.
    QStringList gameFolders;
    // Where Windows keeps files redirected from the folder; by default where
    // virtualStoreFolderFor finds them.
    std::optional<QString> virtualStore;
    // Told how many of the files have been checked, of how many.
    std::function<void(qsizetype done, qsizetype total)> progress;
    // Asked between files; the check ends early when it says so.
    std::function<bool()> cancelled;
};

// Checks every file of the folder as the game would meet it: the character
// files, meshes and textures at its top, files in its subfolders, and files
// of it in the VirtualStore. Names match in any case; the game's own archives,
// Skins and SkinsBuy count as present. Reads only: nothing is changed.
FolderReport checkFolder(const FolderCheckRequest &request);

} // namespace kelvane
