#pragma once

#include <QList>
#include <QString>

namespace kelvane {

// A folder of The Sims installed on this machine.
struct GameFolder {
    QString name;   // as players tell the editions apart: "The Sims", "The Sims (Steam)"
    QString folder; // the game's folder
    QString skins;  // its GameData\Skins folder
};

// The game folders of this machine, each once, in the places players' guides
// name: on Windows its registry, Program Files, the EA app's folder and the
// Steam libraries; elsewhere the same inside the Wine prefix in use, and the
// libraries of the native Steam client. A folder counts only when it holds
// GameData\Skins (in any case off Windows). Only a few folders are looked at
// and a few small files read, so it is quick enough for start-up. Paths are
// native and canonical.
QList<GameFolder> findGameFolders();

} // namespace kelvane
