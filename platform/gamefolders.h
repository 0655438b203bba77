#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane {

// A folder of The Sims installed on this machine.
struct GameFolder {
    QString name;   // as players tell the editions apart: "The Sims", "The Sims (Steam)"
    QString folder; // the game's folder
    QString skins;  // its GameData\Skins folder
    // The folder inside its archives that holds its own character files
    // ("...\ExpansionShared.far\Skins"); empty when none is known (see GameSearch).
    QString characters = {};
    // Which copy it is, in a word: "CD", "Steam", "EA app", or the folder's
    // own name for a second copy of an edition.
    QString copy = {};
};

// The game folders of this machine, each once, in the places players' guides
// name: on Windows its registry, Program Files, the EA app's folder and the
// Steam libraries; elsewhere the same inside the Wine prefix in use, and the
// libraries of the native Steam client. A folder counts only when it holds
// GameData\Skins (in any case off Windows). Each Steam library is looked at
// once, by looking up the game's folder in it, never by listing it; a file
// that is no regular file or is larger than its kind can be is left unread,
// and notes, when given, receive why ("FILE: left unread, ..."). Paths are
// native and canonical. It takes a moment on a slow disk: windows call it off
// their own thread (see GameSearch).
QList<GameFolder> findGameFolders(QStringList *notes = nullptr);

// Where findGameFolders looks, one line per system, for saying so when it
// finds nothing.
QStringList gameSearchPlaces();

} // namespace kelvane
