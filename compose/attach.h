#pragma once

#include "base/result.h"
#include "formats/character.h"
#include "formats/meshfile.h"
#include "game/gamecharacters.h"
#include "game/gamecheck.h"
#include "replace/outputfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kelvane {

// The one operation behind the window's create button and kelvane-attach:
// read a character file and a mesh file, loose or inside an archive, and write
// a new character file in the character file's format holding every skin of
// it plus the mesh. Preparing reads and checks everything and writes nothing;
// a front end answers the plan's questions (or applies its options), and
// carrying it out copies what the game needs, then writes.

// What the user chose: paths of the inputs, the new name (an extension typed
// with it is left out) and the folder to write into (already mapped from any
// Windows path).
struct AttachInputs {
    QString characterPath;
    QString meshPath;
    QString newName;
    QString outputFolder;
    // The games found, checked for a character the new file takes the place
    // of when the output folder lies in none.
    QStringList gameFolders = {};
    // Converts a texture to 256 colours, to tell whether one in the output
    // folder is the download converted before.
    TextureConverter convertTexture = {};
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
    // A hash of the character file's bytes as read, to tell a later change.
    QByteArray characterHash;
};

// Reads both inputs and composes the new file named newName from them; a
// failure names the file at fault.
Result<Composed> composeFromFiles(const QString &characterPath, const QString &meshPath,
                                  const QString &newName);

// What attaching to one character file would do, for a front end to answer
// or to gather with others: the new file composed, where it goes, what it
// replaces, and what the game would miss. A plain value; nothing is written
// until it is carried out.
struct AttachPlan : Composed {
    QString characterPath;
    QString meshPath;
    QString outputPath;
    // Whether a character file of the output's name exists and would be
    // replaced, and the name its old content would be kept under (empty when
    // no backup name is free).
    bool replacesFile = false;
    QString backupPath;
    // What the game needs beside the new file, and the copies that bring it.
    GameCheck gameCheck;
    // The game's own character the new file takes the place of, which
    // gameCheck names too, last.
    std::optional<GameCharacter> takesThePlaceOf = {};
};

// What a front end answered.
struct AttachChoices {
    Copies copies = Copies::Offered;
    Backup backup = Backup::Keep;
    // Converts a texture copied to 256 colours; without one, such a copy fails.
    TextureConverter convertTexture = {};
};

// What writing the new file left on disk.
struct CreatedFile {
    QString path;       // the new character file
    QString backupPath; // where the replaced file's old content is kept; empty when none
    // What settling an earlier, interrupted replace of the file did.
    QStringList settled;
    // What copying for the game did, when asked to.
    GameCopies copies;
};

// Reads and checks both inputs, the name and the output folder, and composes
// the new file. A file of the output's name must be a character file to be
// replaced. A failure says which file or value is at fault and why. The game
// check is left empty: a batch (BatchPlan) checks each folder once for all
// its files and completes each plan with addGameCheck.
Result<AttachPlan> prepareWithoutGameCheck(const AttachInputs &inputs);

// Completes plan's game check: what the mesh needs in the output's folder
// (folderCheck, as checkWhatTheGameNeeds gives it for that folder), then the
// game's own character the new file takes the place of, among gameFolders.
void addGameCheck(AttachPlan &plan, const GameCheck &folderCheck, const QStringList &gameFolders);

// Whether the plan replaces the character file it was made from, and that
// file no longer holds what was read (changed, or gone): writing would lose
// the change.
bool changedSinceRead(const AttachPlan &plan);

// Makes the copies chosen, then, only when every one was made, writes the new
// file, replacing a file of that name as the choices say. The file replaced
// is locked first, and a character file changed since it was read
// (changedSinceRead) is not replaced.
Result<CreatedFile> carryOut(const AttachPlan &plan, const AttachChoices &choices = {});

// The text saying that a character file already holds the mesh.
QString alreadyHeldText(const QString &characterPath, const Skin &attached);

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

} // namespace kelvane
