#pragma once

#include "cli/folderjob.h"
#include "cli/previewjob.h"
#include "compose/newname.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// One run of kelvane-attach, as given on its command line.
struct AttachJob {
    enum class Mode {
        Write,       // a new file for each character file
        InPlace,     // each character file replaced by its extended version
        Stdout,      // the new file's bytes on standard output
        List,        // the skins of each character file; no mesh file
        FindGame,    // the game folders of this machine; no files
        Restore,     // each character file's newest backup, or each backup given, put back
        Preview,     // a picture of one character file wearing the mesh; no files but it
        GameOwn,     // the game's own character put back in place of each file given
        CheckFolder, // each folder given checked as the game would meet it
    };

    Mode mode = Mode::Write;
    QStringList characterFiles;
    QString meshFile;
    std::optional<QString> newName;
    std::optional<QString> outputFolder;
    QString suffix = kDefaultSuffix;
    bool keepBackup = true;
    bool allowDuplicate = false;
    // Copy the mesh and its texture beside each new file, where the game looks.
    bool copyMesh = false;
    // Refuse to write a file the game would not show as it should.
    bool strict = false;
    PreviewJob preview;
    FolderJob folderCheck;
};

enum ExitCode { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

class ConsoleOutput;

// Attaches the mesh to each character file in turn (or lists their skins, or
// restores their backups), printing each path written on standard output and
// each failure on standard error. A failure leaves that file's output
// unwritten and does not stop the others.
int runAttachJob(const AttachJob &job, ConsoleOutput &console);

} // namespace kelvane
