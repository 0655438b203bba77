#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// One run of kelvane-attach, as given on its command line.
struct AttachJob {
    QStringList characterFiles;
    QString meshFile;
    std::optional<QString> newName;
    std::optional<QString> outputFolder;
    bool toStdout = false;
};

enum ExitCode { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

class ConsoleOutput;

// Attaches the mesh to each character file in turn, printing each path
// written on standard output and each failure on standard error. A failure
// leaves that file's output unwritten and does not stop the others.
int runAttachJob(const AttachJob &job, ConsoleOutput &console);

} // namespace kelvane
