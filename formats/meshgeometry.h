#pragma once

#include "base/result.h"
#include "formats/geometry.h"
#include "formats/meshfile.h"

#include <QByteArray>

namespace kelvane {

// How many bytes of a mesh file are read for its whole geometry: far above the
// game's own bodies (a few hundred KB), low enough that a wrong file picked by
// mistake is not read into memory.
inline constexpr qint64 kMeshGeometryBytesRead = 32 * 1024 * 1024;

// Whether the first bytes of a file of fileSize bytes begin a mesh file of
// either format, told as composing tells them (see meshOf); its first
// kBinaryMeshBytesRead bytes suffice.
bool looksLikeMeshFile(const QByteArray &start, qint64 fileSize);

// The whole mesh of a mesh file's bytes, text (.skn) or binary (.bmf), the
// format chosen as meshOf chooses it. In order: name, texture, bones, faces,
// bone bindings, texture coordinates, blends, and the vertices: a count that
// must be that of the texture coordinates plus the blends, then a vertex per
// texture coordinate and a blended vertex per blend. Every count is checked
// against the bytes left before anything is read for it, every index against
// what it points into, every float is finite, and nothing but blank lines may
// follow a text mesh, nothing at all a binary one. The failure names the
// fault, not the file.
Result<MeshGeometry> meshGeometryOf(const QByteArray &bytes);

} // namespace kelvane
