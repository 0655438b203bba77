#pragma once

#include "compose/attach.h"
#include "compose/result.h"

#include <QString>

#include <optional>

class QWidget;

namespace kelvane {

// The six values the create command hands to the composer, as read from the
// controls when cmdDoIt is clicked.
struct CreateInputs {
    QString skinDirectory;
    QString skinFileName;
    QString meshDirectory;
    QString meshFileName;
    QString newName;
    QString outputFolder;
};

// The folder typed as the output folder, as the composer is to get it: on a
// system with a Wine prefix, a Windows path ("C:\Program Files\...") names the
// matching folder of the prefix. Refused with a message asking for a full
// folder path when empty or relative, which would write somewhere unintended.
Result<QString> outputFolderFor(const QString &typed);

// Checks the output folder, reads and composes, asks before attaching a mesh
// the character file already holds and before replacing an existing file
// (keeping its old content in a backup), then writes. Faults are shown in a
// message over window. The file written; nothing when refused or when the
// user says No.
std::optional<CreatedFile> runCreateCommand(QWidget *window, const CreateInputs &inputs);

} // namespace kelvane
