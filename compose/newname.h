#pragma once

#include <QString>

namespace kelvane {

// The suffix every name proposal ends in until the user types another one.
inline const QString kDefaultSuffix = QStringLiteral("new");

// The name proposed for a new character file made from the file named
// characterFileName: its first 7 characters when the 7th is "_", otherwise its
// first 9 characters and "_", followed by the suffix.
QString proposeNewName(const QString &characterFileName, const QString &suffix);

// The suffix a typed name carries: the text between its first and second "_",
// or after the first "_" when there is only one. A name without "_" carries
// none, and the previous suffix stays.
QString suffixOfName(const QString &name, const QString &previousSuffix);

// Why name cannot name a new character file, or an empty string when it can.
// The name is written into the file as Latin-1 and becomes the file's name,
// so it may hold neither characters outside Latin-1, nor control characters,
// nor any character that Windows forbids in file names.
QString newNameProblem(const QString &name);

} // namespace kelvane
