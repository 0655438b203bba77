#pragma once

#include "compose/meshfile.h"
#include "compose/result.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane {

// What the game needs beside a new character file to show the attached mesh,
// checked before the file is written: the mesh and its texture in the same
// folder, a texture the game can draw, a mesh named as the new file names it,
// bound to one bone. The character file's other meshes are not looked at: the
// game holds most of them in its archives.

// A file to be copied into the output folder under the name the game looks for.
struct GameFileCopy {
    QString from;
    QString to;
};

// What is missing or wrong, in a player's words.
struct GameFinding {
    QString text;
    // Whether the copies offered bring what it misses.
    bool mendedByCopies = false;
};

// Whether the copies offered are to be made, so that what they bring is no
// finding.
enum class Copies { Offered, Made };

struct GameCheck {
    QList<GameFinding> found;
    // The mesh and texture found beside the mesh file that the output folder
    // lacks. None is offered for a name that is no plain file name, nor where
    // a file of that name is in the way.
    QList<GameFileCopy> copies;

    // What remains to be said when the copies are made or not.
    QStringList findings(Copies copies) const;
};

// Checks what the game needs of the mesh read from meshPath when the new file
// goes into outputFolder. A mesh read from an archive needs no file, nor does
// its texture: the game's own archives hold both. The mesh and texture names
// are file names to the game, never paths: one with a separator, a drive, a
// "..", or a control character is a finding, and no file is looked for
// under it. Only regular files are opened, so a pipe of a wanted name never
// blocks the check.
GameCheck checkWhatTheGameNeeds(const QString &meshPath, const Mesh &mesh,
                                const QString &outputFolder);

// What copying for the game did: the files copied, files of those names left
// alone, and copies that failed.
struct GameCopies {
    QStringList copied;
    QStringList notes;
    QStringList failures;
};

// Copies each file, never replacing anything: a file of that name with the
// same content needs no copy, one with other content is left alone and
// noted; a copy that cannot be made is a failure.
GameCopies copyForTheGame(const QList<GameFileCopy> &copies);

} // namespace kelvane
