#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace kelvane {

// What checking a folder of skins found: each file's faults as the game
// would meet them, and the mend of each where one exists.

enum class FindingKind {
    InnerName,      // a character file's inner name differs from its file name
    MissingMesh,    // a skin's mesh is found nowhere
    NoOwnTexture,   // a body or head has no texture at all
    MissingTexture, // an accessory's own texture is missing
    TextureColours, // a texture is not 256 colours
    TextureSize,    // a texture is not square, or of a size the game draws
    MeshName,       // a mesh file's name differs from the mesh name inside it
    InSubfolder,    // a file in a subfolder, which the game never reads
    SharedPrefix,   // two outfits share a prefix with different meshes
    BuyableMesh,    // a buyable outfit whose mesh is not beside it
    VirtualStore,   // a file of the folder redirected into the user's VirtualStore
    CaseClash,      // two files whose names differ only in case
    Unreadable,     // a file that cannot be read as what its name says
};

enum class MendKind {
    None,
    WriteInnerName, // the file name written as the inner name, the old file kept as a backup
    ConvertTexture, // converted to 8 bits, the original kept as a backup
    Rename,         // the file renamed to target (in its folder)
    MoveUp,         // the file moved from a subfolder to target
    Renumber,       // the character given a free ID; only when asked
    CopyBeside,     // source copied to target
    MoveIn,         // the file moved from the VirtualStore to target
};

struct Mend {
    MendKind kind = MendKind::None;
    QString source; // the file copied (CopyBeside)
    QString target; // where the file goes (Rename, MoveUp, CopyBeside, MoveIn)
    // What the mend does, or where there is none, why not; in a player's words.
    QString text;
};

struct Finding {
    FindingKind kind = FindingKind::Unreadable;
    QString path; // the file, as found
    // What is wrong and what the game does, in a player's words.
    QString text;
    Mend mend;

    bool mendable() const { return mend.kind != MendKind::None; }
    // Whether applying every mend applies this one: all but renumbering.
    bool mendedByDefault() const { return mendable() && mend.kind != MendKind::Renumber; }
};

struct FolderReport {
    QString folder;
    QStringList games; // the game folders whose files counted as present
    qsizetype filesChecked = 0;
    // In the order of their files' paths, each file's in the order found.
    QList<Finding> findings;
    // The tones each character file's own textures come in, by its path.
    QHash<QString, QStringList> tones;
    // Every three-character ID in use, case-folded: in the folder, the game's
    // Skins and SkinsBuy, and its archives.
    QSet<QString> usedIds;
    bool cancelled = false;

    qsizetype mendableByDefault() const;
};

} // namespace kelvane
