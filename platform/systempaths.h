#pragma once

#include <QString>

namespace kelvane {

// The parts of path handling that differ between systems, one function each.

// The folder at the top of the drive a drive list names: for a drive letter on
// Windows ("c:", "c: [LABEL]") the letter and colon followed by "\"; elsewhere
// for a Wine drive ("c: [wine]") the folder it links to, empty when it is gone;
// for a game folder's entry its GameData\Skins folder; for any other text
// the volume's root path, the text before an optional " [label]".
QString driveRoot(const QString &driveText);

// The folder both browsers show at start: "c:\" on Windows; elsewhere the root
// of the Wine prefix's C: drive, where the game lives, or "/" without one.
QString systemRoot();

// A folder on the drive the drive lists start on. On Windows the current
// folder; elsewhere the system root, since a process's current folder there
// says nothing of where the user works, and the lists then agree with the
// folders shown at start.
QString startDriveFolder();

// The separator between a folder and a name.
QString pathSeparator();

// How paths compare on this system.
Qt::CaseSensitivity pathCaseSensitivity();

// Whether the folder at path exists and its entries can be read.
bool folderCanBeListed(const QString &path);

} // namespace kelvane
