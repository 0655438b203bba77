#pragma once

#include "compose/attach.h"

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
    // The games found, for the characters of theirs a new file takes the place of.
    QStringList gameFolders = {};
};

// Prepares the attach plan and answers its questions: asks before attaching
// a mesh the character file already holds, when the game would not find what
// the mesh needs (offering to copy the mesh and its texture), and before
// replacing an existing file (keeping its old content in a backup); then
// carries it out. Faults are shown in a message over window. The file
// written; nothing when refused or when the user says No or Cancel.
std::optional<CreatedFile> runCreateCommand(QWidget *window, const CreateInputs &inputs);

// The "File Created" message for created: the new file's name, where the old
// content of a file it replaced is kept, then what was copied for the game
// and what was left alone.
QString createdMessage(const CreatedFile &created);

} // namespace kelvane
