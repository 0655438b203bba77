#pragma once

#include "base/result.h"

#include <QStringList>

#include <optional>

class QCommandLineParser;

namespace kelvane {

class ConsoleOutput;
struct AttachOptions;

// A run of kelvane-attach --check-folder: each folder checked as the game
// would meet it, its mends applied with --fix, and the character files
// named by --renumber given free IDs.
struct FolderJob {
    QStringList folders;
    bool fix = false;
    QStringList renumber;
};

// The folder check the command line asks for; nothing when it names neither
// --check-folder nor its options; a usage error when they are wrong.
std::optional<Result<FolderJob>> folderJobOf(const QCommandLineParser &parser,
                                             const AttachOptions &options,
                                             const QStringList &files);

// Prints each finding as "FILE: finding", grouped by file, then what --fix
// and --renumber did, and a summary. Gives 0 when nothing was found, 1 when
// something was (or a file named by --renumber is none of the folders').
int runFolderJob(const FolderJob &job, ConsoleOutput &console);

} // namespace kelvane
