#pragma once

#include "base/result.h"

#include <QString>

namespace kelvane {

// The folder Windows means by a folder given to --out, in the form Qt opens,
// so that it is checked, written into and printed as the folder written:
// "\Games" (from the root of the current drive) and "D:Games" (from the
// current folder of D:) completed, trailing dots and blanks of names dropped,
// "\\?\C:\..." and "\\?\UNC\..." taken off. Refused: a device path other than
// a drive's or a share's, and a "\\?\" path with a name that only such a path
// reaches (one ending in a dot or a blank). Other paths, and every path off
// Windows, stay as given, in native separators.
Result<QString> folderWindowsMeans(const QString &given);

// How a relative output folder is taken: the window has no current folder a
// player knows, so it refuses one; the command line takes it from its current
// folder.
enum class RelativeFolder { Refused, FromCurrentFolder };

// The folder a typed output folder names, for both front ends: with a Wine
// prefix in use, a Windows path ("C:\Program Files\...") names the matching
// folder of the prefix, and a drive the prefix lacks is refused; otherwise
// the folder Windows means (above). Empty is refused. A failure names the
// typed folder and what to type instead.
Result<QString> typedOutputFolder(const QString &typed, RelativeFolder relative);

// The file a typed input names: with a Wine prefix in use, a Windows path
// ("C:\Program Files\...\Skins\B001.cmx", also into an archive) names the
// matching path of the prefix, as for an output folder; a drive the prefix
// lacks is refused, naming the path, unless a file of that very name exists.
// Other paths stay as given.
Result<QString> typedInputPath(const QString &typed);

} // namespace kelvane
