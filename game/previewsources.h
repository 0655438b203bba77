#pragma once

#include "formats/character.h"
#include "formats/meshfile.h"
#include "game/charactercode.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// The files a preview of a character wearing a mesh draws, found where and
// as the game finds them: the skeleton, each skin's mesh and its texture.
// Only names are looked up and the start of each mesh read (for its
// texture's name); nothing is drawn or written.

// A file found, as the game would find it.
struct FoundFile {
    QString path;  // a loose file, or ARCHIVE.far/ENTRY as findInputFile reads it
    QString place; // the folder or archive it was found in, as shown to the player
    // It lies in a game other than the one the character file belongs to,
    // where that game never looks.
    bool otherGame = false;
};

// A texture a skin may wear: the character's own in one skin tone, a
// hand's in one tone, or the one its mesh names.
struct TextureSource {
    QString tone;     // "lgt", "med" or "drk" for a tone's; empty otherwise
    QString fileName; // the file found, or the first file name looked for
    std::optional<FoundFile> found;
    QString label; // of the character's own texture ("hippy" in B005MAFitlgt_hippy.bmp)
};

struct SkinSource {
    QByteArray bone;
    QByteArray meshName;
    bool attached = false; // the mesh being attached, as chosen (never looked up)
    std::optional<FoundFile> mesh;
    QByteArray meshTexture; // the texture the mesh names; empty when it was not read
    // It wears the character's own texture (PreviewSources::ownTextures): a
    // skin whose mesh names no texture ("x"), a skin-tone texture, or any on
    // PELVIS (a body); and a skin whose mesh names a texture not found while
    // none of the character's own is found either.
    bool ownTexture = false;
    bool hand = false; // one of the game's open hands, added to a body
    // A hand's: one per tone found; another skin's that does not wear the
    // character's own: the one its mesh names.
    QList<TextureSource> textures;
};

enum class SourceKind { Skeleton, Mesh, Texture };
enum class SourceLack {
    NotFound,
    NotPlainName, // a name with a folder, a drive or a control character: never looked up
    Unreadable,   // found, but not a mesh that can be read
};

struct MissingSource {
    SourceKind kind = SourceKind::Mesh;
    SourceLack lack = SourceLack::NotFound;
    qsizetype skin = -1;   // the skin it belongs to; -1 for the skeleton
    QByteArray name;       // the name as read (the skeleton's: its file name)
    QStringList fileNames; // the files looked for, in order
    QStringList placesLooked;
    QString detail;            // why a file found could not be read
    bool characterOwn = false; // the character's own textures, none found
};

struct PreviewSources {
    QString gameFolder; // the game the character file belongs to; empty for none
    QStringList skeletonFileNames;
    std::optional<FoundFile> skeleton;
    QStringList skeletonPlacesLooked;
    // The character's, in order, then the attached mesh, then a body's hands.
    QList<SkinSource> skins;
    // The character's own textures found (see game/texturerule.h), in
    // name order, each name from the first place holding it.
    QList<TextureSource> ownTextures;
    QStringList tones; // the tones of ownTextures, in the order lgt, med, drk
    // Every mesh and texture not found or not read; the skeleton too, which
    // only a character whose meshes are bound to more than one bone needs.
    QList<MissingSource> missing;
    // The missing meshes and textures, files found only in another game, and
    // archives that could not be read, in a player's words. Not the skeleton.
    QStringList notes;
};

struct PreviewSourcesRequest {
    QString characterPath; // a loose file, or ARCHIVE.far/ENTRY
    Character character;
    QString meshPath; // the mesh being attached; empty for none
    Mesh mesh;        // read from meshPath
    QStringList gameFolders;
    bool withHands = true; // a body's open hands are added
};

PreviewSources findPreviewSources(const PreviewSourcesRequest &request);

// The character file's name code marks a child: its age letter, after a
// letter, three characters and the sex letter, is C (C001MC_kid,
// B003MCChd_01), or its body type is Chd.
bool isChildCharacter(const QString &characterFileName);

// The skeleton files a character takes, the binary file first.
QStringList skeletonFileNames(const QString &characterFileName);

// The character's own texture in a skin tone labelled as the character file
// is (the default label where it exists): C026MA_bwar with "lgt" gives
// C026MAlgt_bwar.bmp.
QString characterTextureName(const QString &characterFileName, const QString &tone);

// Why the preview cannot draw without the skeleton, naming it and where it
// was looked for.
QString skeletonNote(const PreviewSources &sources);

} // namespace kelvane
