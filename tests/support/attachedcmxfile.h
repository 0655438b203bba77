#pragma once

#include "base/result.h"
#include "compose/attach.h"
#include "replace/outputfile.h"

#include <QString>

namespace kelvane {

// Attaching from folders and names without a front end's questions, for the
// tests and benchmarks of whole files.

// Plans one file as a batch of one: prepareWithoutGameCheck, then the output
// folder's game check (checkWhatTheGameNeeds) and the game characters among
// inputs.gameFolders (addGameCheck).
Result<AttachPlan> prepareAttachment(const AttachInputs &inputs);

// How CreateAttachedCmxFile replaces an existing file.
struct CreateOptions {
    Backup backup = Backup::Keep;
};

// Attaches without questions: reads both inputs, from a folder and a file
// name each, and writes the new character file into outputFolder under newName with the
// extension of the character file's format, replacing a file of that name
// (keeping its old content as backupPathFor says, unless told otherwise).
// Nothing is written unless every input is sound; an empty output folder is
// refused. No copy is made for the game; what it would miss is not looked at.
Result<CreatedFile> CreateAttachedCmxFile(const QString &skinDirectory, const QString &skinFileName,
                                          const QString &meshDirectory, const QString &meshFileName,
                                          const QString &newName, const QString &outputFolder,
                                          const CreateOptions &options = {});

} // namespace kelvane
