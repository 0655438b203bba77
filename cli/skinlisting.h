#pragma once

#include <QStringList>

namespace kelvane {

class ConsoleOutput;

// Prints the skins of each character file, one per line as the bone, a tab
// and the mesh; with several files, a line "==> FILE <==" before each file's
// skins and an empty line between files, as head does. An archive stands for
// every character file inside it, each named "ARCHIVE.far/ENTRY" (its skeletons
// and animations are passed over). A file that cannot be
// read is reported on standard error and the others are still listed. Gives
// the exit code.
int listSkins(const QStringList &characterFiles, ConsoleOutput &console);

} // namespace kelvane
