#pragma once

#include "base/filekind.h"
#include "formats/fararchive.h"

#include <QByteArray>
#include <QSet>

namespace kelvane {

// Whether the first bytes of a file named as a character file show one of the
// game's other files it keeps under that name: a skeleton file (skeletons
// first) or an animation (skills and no suit). The first 12 bytes of a binary
// file suffice, the first three lines of a text one.
bool holdsSkeletonsOrSkills(const QByteArray &start);

// The indices, in archive's entries, of the entries named as character files
// that hold skeletons or skills. The first bytes of each are read through one
// opening of the archive; the answer is kept while the archive is unchanged
// (stamp, as taken when the archive was opened). An archive that cannot be
// read again gives none.
QSet<qsizetype> entriesHoldingNoCharacter(const FarArchive &archive, const FileStamp &stamp);

} // namespace kelvane
