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

struct GameCheck {
    // What is missing or wrong, each in a player's words.
    QStringList findings;
    // The mesh and texture found beside the mesh file that the output folder lacks.
    QList<GameFileCopy> copies;
};

// Whether the copies offered are to be made, so that what they bring is no
// finding.
enum class Copies { Offered, Made };

// Checks what the game needs of the mesh read from meshPath when the new file
// goes into outputFolder. A mesh read from an archive needs no file, nor does
// its texture: the game's own archives hold both.
GameCheck checkWhatTheGameNeeds(const QString &meshPath, const Mesh &mesh,
                                const QString &outputFolder, Copies copies = Copies::Offered);

// What copying for the game did: the files copied, and why others were not.
struct GameCopies {
    QStringList copied;
    QStringList problems;
};

// Copies each file, never replacing anything: a file of that name with the
// same content needs no copy, one with other content is left alone and
// reported, as is a copy that fails.
GameCopies copyForTheGame(const QList<GameFileCopy> &copies);

} // namespace kelvane
