#pragma once

#include "base/linelist.h"
#include "base/result.h"
#include "compose/newname.h"

#include <QByteArray>
#include <QString>

namespace kelvane {

// Composing a text character file from the lines read, without files: the
// entry point of the composer's byte-exact tests, its fuzz target and its
// benchmark. The program composes through composeFromFiles.

// What is wrong with an input, and which input it is.
struct ComposeFailure {
    enum class Input { CharacterFile, MeshFile, NewName };
    Input input;
    QString reason;
};

// The composed character file, ending in the closing "0" without a line end,
// or why it cannot be composed.
using ComposeResult = Result<QByteArray, ComposeFailure>;

// Composes a character file holding every skin group of the character file
// skinLines plus one group for the mesh file meshLines (from the first bytes
// of the mesh file that were read), named newName.
ComposeResult ComposeAttachedCmx(const LineList &skinLines, const LineList &meshLines,
                                 const QString &newName);
// The same, for a name already checked.
ComposeResult ComposeAttachedCmx(const LineList &skinLines, const LineList &meshLines,
                                 const NewName &newName);

} // namespace kelvane
