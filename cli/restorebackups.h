#pragma once

#include <QStringList>

namespace kelvane {

class ConsoleOutput;

// Puts back a backup of each file given: a character file gets the content of
// its newest backup, a backup ("NAME.cmx.bak3") goes back into its own file.
// Prints each file written on standard output, and where its content came
// from and where its content until then is kept on standard error. A file
// that cannot be restored is reported and the others are still done. Gives
// the exit code.
//
// A loose file with no backup that takes the place of one of the game's own
// characters gets the game's own back: it is moved to its next free backup
// name. GameOwn does that for every file given, backups or not.
enum class Restoring { Newest, GameOwn };
int restoreBackups(const QStringList &files, ConsoleOutput &console,
                   Restoring how = Restoring::Newest);

} // namespace kelvane
