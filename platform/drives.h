#pragma once

#include "platform/gamefolders.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace kelvane {

// Gives the texts a drive list offers, each a drive's root optionally
// followed by " [label]". Tests substitute their own.
using DriveSource = std::function<QStringList()>;

// The drives a user browses: the drive letters on Windows ("c: [label]");
// elsewhere the drive letters of the Wine prefix in use first ("c: [wine]"),
// then "/", then the volumes mounted under the usual places for removable and
// extra disks, without pseudo file systems. Last, each game folder the last
// game search found, as "The Sims: GameData\Skins", followed by the folder of
// its archives that holds its own characters when known ("The Sims:
// ExpansionShared\ExpansionShared.far\Skins", see GameSearch); nothing here
// waits for a search.
QStringList browsableDrives();

// The entries of the games given, as browsableDrives() lists them last; each
// is known to gameEntryFolder() and gameEntryCopy() from then on.
QStringList gameDriveEntries(const QList<GameFolder> &games);

// The folder an entry of a game folder opens: that game's GameData\Skins, or
// the folder of its archives it names.
// None for any other text, and for an entry never listed.
std::optional<QString> gameEntryFolder(const QString &driveText);

// Which copy of the game an entry of a game folder opens, in a word ("CD",
// "Steam", "EA app" or the folder's own name); empty for any other text.
QString gameEntryCopy(const QString &driveText);

} // namespace kelvane
