#pragma once

#include "compose/character.h"
#include "compose/meshfile.h"
#include "compose/outputfile.h"
#include "compose/result.h"

#include <QByteArray>
#include <QString>

namespace kelvane {

// The one operation behind the window's create button and kelvane-attach:
// read a character file and a mesh file, loose or inside an archive, and write
// a new character file in the character file's format holding every skin of
// it plus the mesh. Preparing reads and checks everything and writes nothing,
// so that a front end can ask its questions (or apply its options) in between.

// What the user chose: paths of the inputs, the new name (an extension typed
// with it is left out) and the folder to write into (already mapped from any
// Windows path).
struct AttachInputs {
    QString characterPath;
    QString meshPath;
    QString newName;
    QString outputFolder;
};

// The bytes of a new character file, in the format of the file it was made from.
struct Composed {
    CharacterFormat format = CharacterFormat::Text;
    QByteArray bytes;
    // The skin the mesh adds, and whether the character file holds it already
    // (same bone and mesh name, compared exactly).
    Skin attached;
    bool alreadyHeld = false;
    // The mesh as read.
    Mesh mesh;
};

// Reads both inputs and composes the new file named newName from them; a
// failure names the file at fault.
Result<Composed> composeFromFiles(const QString &characterPath, const QString &meshPath,
                                  const QString &newName);

// The new file, composed and ready to be written.
struct Attachment : Composed {
    QString outputPath;
    // Whether a file of the output's name exists and would be replaced.
    bool replacesFile = false;
};

// What writing the new file left on disk.
struct CreatedFile {
    QString path;       // the new character file
    QString backupPath; // where the replaced file's old content is kept; empty when none
    // What settling an earlier, interrupted replace of the file did.
    QStringList settled;
};

// Reads and checks both inputs, the name and the output folder, and composes
// the new file. A failure says which file or value is at fault and why.
Result<Attachment> prepareAttachment(const AttachInputs &inputs);

// Writes the prepared file, replacing a file of that name as backup says.
Result<CreatedFile> writeAttachment(const Attachment &attachment, Backup backup = Backup::Keep);

// The path of the new character file: the folder, a separator only when the
// folder does not end in one, the new name and the format's extension.
QString outputFilePath(const QString &outputFolder, const QString &newName,
                       CharacterFormat format = CharacterFormat::Text);

// The folder a new file made from a character file in folder goes into unless
// the user says otherwise: that folder itself; for a folder inside an archive,
// the game's GameData/Skins (under the game folder holding the archive's
// folder), where a loose file takes the place of the archive's, or without
// one the folder holding the archive.
QString proposedOutputFolder(const QString &folder);

// The name under which a new file replaces the character file named fileName:
// fileName without ".cmx.bcf" or ".cmx"; empty when it ends in neither.
QString ownNameOf(const QString &fileName);

} // namespace kelvane
