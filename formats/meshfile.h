#pragma once

#include "base/result.h"
#include "formats/character.h"

#include <QByteArray>
#include <QList>

namespace kelvane {

// How a mesh file is stored: the game's text (.skn) or binary (.bmf).
enum class MeshFormat { Text, Binary };

// What Kelvane needs of a mesh: its name, its texture and the bones it is
// bound to, the first being the one it is attached to.
struct Mesh {
    MeshFormat format = MeshFormat::Text;
    QByteArray name;
    QByteArray texture;
    // The count the file gives, and the names read of them (the first at least).
    quint32 boneCount = 0;
    QList<QByteArray> bones;

    // The skin the mesh adds to a character: its first bone and its name.
    Skin skin() const { return {bones.value(0), name}; }
};

// How many bytes of a binary mesh are read at most: its two names and enough
// bone names for any accessory; the geometry after them is never read.
inline constexpr qint64 kBinaryMeshBytesRead = 16 * 1024;

// The longest name the game's files hold: a length byte's worth.
inline constexpr qsizetype kLongestName = 255;

// How many bytes of a text mesh are read: its first 400 bytes decide where its
// lines begin, and a name that begins within them is read to its end.
inline constexpr qint64 kTextMeshBytesRead = 400 + kLongestName + 2;

// The mesh the first bytes of a mesh file describe. A text mesh is read from
// its first 400 bytes as the text rules say, except that its name (line 0)
// and its bone (line 3) are read to their ends even past the 400th byte; a
// name longer than 255 bytes is refused; bytes that are no text mesh are
// read as a binary mesh (a name, a texture name, a u32 bone count and the bone
// names), every length checked. When neither fits, the failure is the text
// reader's. The binary reader needs more bytes than the text reader: start
// holds what was read (up to kBinaryMeshBytesRead) and fileSize what the file
// holds, which bounds the bone count.
// The table of formats picks the reader of a mesh's encoding.
Result<Mesh> meshOf(const QByteArray &start, qint64 fileSize);

// The readers of each encoding, as meshOf describes them.
Result<Mesh> textMeshOf(const QByteArray &start, qint64 fileSize);
Result<Mesh> binaryMeshOf(const QByteArray &start, qint64 fileSize);

} // namespace kelvane
