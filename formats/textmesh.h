#pragma once

#include "base/linelist.h"
#include "base/result.h"
#include "formats/character.h"

#include <QByteArray>

namespace kelvane {

// The start of a text mesh file, as far as composing reads it: the mesh name
// (line 0), the count of bones (line 2) and the bone it attaches to (line 3).

// How much of a mesh file composing reads: its first 400 bytes.
inline constexpr qint64 kMeshBytesRead = 400;

// The lines of the first bytes of a mesh file. When the bytes were cut at the
// 400th, within a line end, the last line is used without the CR.
LineList splitMeshStart(const QByteArray &start);

// The group a mesh file adds, its bone (line 3) and its mesh name (line 0),
// from the lines read from the start of the mesh file; or why composing
// refuses them: neither may be empty, and line 2 must count one bone or more.
Result<Skin> attachedSkinOf(const LineList &meshLines);

} // namespace kelvane
