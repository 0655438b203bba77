#pragma once

#include "base/result.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// Renumbering gives a character file an ID (the three characters after the
// type letter: B001FAFit_01 has 001) that nothing the game loads uses.

// The ID of a file name, case-folded: its second to fourth characters when
// it begins with a letter; empty otherwise.
QString idOfName(const QString &fileName);

// The first ID not in used (case-folded): 001 to 999, then 000, then IDs of
// digits and letters; nothing when every one is used.
std::optional<QString> firstFreeId(const QSet<QString> &used);

struct Renumbered {
    QString path;      // the character file under its new name
    QStringList lines; // what was done, in a player's words
};

// Gives the character file at path the first ID in none of usedIds nor any
// name in its folder: renames it, writes its new name inside it (its old
// content kept as a backup) and renames the textures of its prefix that carry
// its own label. Nothing is done when a new name is taken. The ID taken is
// added to usedIds.
Result<Renumbered> renumberCharacter(const QString &path, QSet<QString> &usedIds);

// The same when the ID is already chosen: newId.
Result<Renumbered> renumberCharacterTo(const QString &path, const QString &newId);

} // namespace kelvane
