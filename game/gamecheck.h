#pragma once

#include "base/result.h"
#include "formats/meshfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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
    // Whether a file of that name with other content is there, which only a
    // copy that may replace takes the place of (keeping it as a backup).
    bool replaces = false;
    // Whether the copy is a texture converted to 256 colours; the file copied
    // from is never changed.
    bool converted = false;
};

// Which copies mend a finding: none, any, or only those that may replace a
// file of the same name.
enum class MendedBy { Nothing, Copies, Replacing };

// What is missing or wrong, in a player's words, naming the file by its full path.
struct GameFinding {
    QString text;
    MendedBy mendedBy = MendedBy::Nothing;
};

// Whether the copies offered are to be made, new files only or replacing
// files of the same name too, so that what they bring is no finding.
enum class Copies { Offered, Made, MadeReplacing };

struct GameCheck {
    QList<GameFinding> found;
    // The mesh and texture found beside the mesh file that the output folder
    // lacks or holds with other content. None is offered for a name that is
    // no plain file name, nor where a file of that name is no file of its kind.
    QList<GameFileCopy> copies;

    // What remains to be said when the copies are made or not.
    QStringList findings(Copies copies) const;
};

// The bytes of an 8-bit (256-colour) BMP of the picture in the BMP at path,
// of the same size. Compose draws no pictures: the front ends hand one in.
using TextureConverter = std::function<Result<QByteArray>(const QString &path)>;

// Checks what the game needs of the mesh read from meshPath when the new file
// goes into outputFolder. A mesh read from an archive needs no file, nor does
// its texture: the game's own archives hold both. The mesh and texture names
// are file names to the game, never paths: one with a separator, a drive, a
// "..", or a control character is a finding, and no file is looked for
// under it. Only regular files are opened, so a pipe of a wanted name never
// blocks the check. A texture in the output folder that differs from the one
// beside the mesh is a finding unless it is that one converted with convert;
// without a converter it is taken to differ.
GameCheck checkWhatTheGameNeeds(const QString &meshPath, const Mesh &mesh,
                                const QString &outputFolder, const TextureConverter &convert = {});

// Whether the files at a and b can be read and hold the same bytes.
bool sameFileContent(const QString &a, const QString &b);

// What copying for the game did: the files copied, those converted to 256
// colours, files replaced and where their old content is kept, files of
// those names left alone, and copies that failed.
struct GameCopies {
    QStringList copied;
    QStringList converted;
    QStringList replaced;
    QStringList notes;
    QStringList failures;
};

// Makes each copy, converting a texture marked so with convert. A file of
// that name with the same content needs no copy; one with other content is
// replaced with Copies::MadeReplacing when it is a regular file of the same
// kind (a BMP, a mesh file), its old content kept as a backup, and otherwise
// left alone and noted. A copy that cannot be made is a failure; no half copy
// is left.
GameCopies copyForTheGame(const QList<GameFileCopy> &copies, Copies made,
                          const TextureConverter &convert);

} // namespace kelvane
