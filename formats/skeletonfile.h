#pragma once

#include "base/result.h"
#include "formats/geometry.h"

#include <QByteArray>
#include <QList>

namespace kelvane {

// How many bytes of a skeleton file are read: far above the game's skeletons
// (a few KB each), low enough that a hostile file of empty property names,
// each taking some 50 bytes to hold, costs little memory.
inline constexpr qint64 kSkeletonFileBytesRead = 1024 * 1024;

// Whether the first bytes of a file begin a character file, binary (as
// adult-skeleton.cmx.bcf) or text ("version" on line 1), whose count of
// skeletons is 1 or more. A character file with a suit holds none. The file's
// first 4 KB suffice.
bool looksLikeSkeletonFile(const QByteArray &start);

// The skeletons of a character file, binary or text, which begins with them:
// a count, then per skeleton a name and its bones. A bone is its name, its
// parent's name ("NULL" for a root), property lists (a count, then per list a
// count of name and value pairs), its position (x y z) and rotation (x y z w),
// the translate, rotate and blend flags, and its wiggle value and power; in
// a text file each on a line of its own, the position and rotation between
// bars ("| x y z |"). What follows the skeletons is not read. Every count is
// checked against the bytes left, every float is finite, and in each skeleton
// the bone names differ, each parent is a bone of it and no bone is its own
// ancestor. The failure names the fault, not the file.
// The table of formats picks the reader of the file's encoding.
Result<QList<Skeleton>> skeletonsOf(const QByteArray &bytes);
Result<QList<Skeleton>> textSkeletonsOf(const QByteArray &bytes);
Result<QList<Skeleton>> binarySkeletonsOf(const QByteArray &bytes);

} // namespace kelvane
