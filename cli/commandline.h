#pragma once

#include "base/result.h"
#include "cli/attachjob.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace kelvane {

class ConsoleOutput;

// A command line asking for the help or the version: the text to print.
struct InfoText {
    QString text;
};

// What a valid command line asks for.
using AttachRequest = std::variant<AttachJob, InfoText>;

// Reads the command line of kelvane-attach, the program's name first: the
// job, the help or version text, or a usage error saying what is wrong.
Result<AttachRequest> parseAttachJob(const QStringList &arguments);

// Runs kelvane-attach on a command line and gives its exit code.
int runAttachCommand(const QStringList &arguments, ConsoleOutput &console);

} // namespace kelvane
