#pragma once

#include <QList>
#include <QString>

namespace kelvane {

// A Wine prefix the game may be installed in, and who keeps it.
struct KnownPrefix {
    QString folder; // native path
    QString keeper; // "WINEPREFIX", "Wine", "Lutris", "Bottles" or "Bottles (Flatpak)"
};

// The Wine prefix in use ($WINEPREFIX, or else ~/.wine), whether it exists or not.
KnownPrefix prefixInUse();

// The Wine prefixes worth looking in for the game: the one in use when it has
// drives, then those Lutris (~/Games/NAME) and Bottles (its bottles, also
// those of its Flatpak) keep, each folder holding a drive_c, in name order and
// each once. Only the keepers' folders are listed, never what lies below a
// prefix, so the cost stays a few listings. None on Windows.
QList<KnownPrefix> knownWinePrefixes();

} // namespace kelvane
