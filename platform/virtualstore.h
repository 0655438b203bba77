#pragma once

#include <QString>

namespace kelvane {

// Where Windows puts the files that a program without administrator rights
// writes under Program Files (or the Windows folder, or ProgramData): the
// same path under the user's AppData\Local\VirtualStore, where some programs
// see them and others do not. Inside a Wine prefix, the same under a user of
// the prefix. Gives that folder for folder when it exists; empty otherwise.
QString virtualStoreFolderFor(const QString &folder);

// The same, for a folder of a Wine prefix's drive_c (or of Windows' system
// drive, taking localAppData as the user's AppData\Local): the folder's path
// below the drive, under localAppData/VirtualStore.
QString virtualStoreFolderBelow(const QString &localAppData, const QString &pathBelowDrive);

} // namespace kelvane
