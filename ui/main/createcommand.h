#pragma once

#include "compose/attach.h"
#include "compose/gamecheck.h"
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

// What the create command did: the file written, and the mesh and texture
// copied beside it for the game when the user chose so.
struct CreateOutcome {
    CreatedFile file;
    GameCopies copies;
};

// Checks the output folder, reads and composes, asks before attaching a mesh
// the character file already holds, when the game would not find what the
// mesh needs (offering to copy the mesh and its texture), and before
// replacing an existing file (keeping its old content in a backup), then
// writes. Faults are shown in a message over window. What was done; nothing
// when refused or when the user says No or Cancel.
std::optional<CreateOutcome> runCreateCommand(QWidget *window, const CreateInputs &inputs);

// The "File Created" message for outcome: the new file's name, where the old
// content of a file it replaced is kept, then what was copied for the game
// and what could not be.
QString createdMessage(const CreateOutcome &outcome);

} // namespace kelvane
