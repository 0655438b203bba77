#pragma once

#include "base/result.h"

#include <QString>

namespace kelvane {

// The suffix every name proposal ends in until the user types another one.
inline const QString kDefaultSuffix = QStringLiteral("new");

// The name proposed for a new character file made from the file named
// characterFileName: its first 7 characters when the 7th is "_", otherwise its
// first 9 characters and "_", followed by the suffix. The extension of a
// binary character file (".cmx.bcf") is left out first.
QString proposeNewName(const QString &characterFileName, const QString &suffix);

// The suffix a typed name carries: the text between its first and second "_",
// or after the first "_" when there is only one. A name without "_" carries
// none, and the previous suffix stays.
QString suffixOfName(const QString &name, const QString &previousSuffix);

class NewName;

// The name, checked, or why it cannot name a new character file. The name is
// written into the file as Latin-1 and becomes the file's name in a Windows
// game, so it may not be empty and may hold neither characters outside
// Latin-1, nor control characters, nor any character that Windows forbids in
// file names; nor may it end in a dot or a blank, be a Windows device name, or
// make a file name longer than 255 bytes with extension (by default, a text
// character file's).
Result<NewName> checkNewName(const QString &name, QStringView extension);
Result<NewName> checkNewName(const QString &name);

// A name that checkNewName accepted.
class NewName
{
public:
    const QString &text() const { return m_text; }

private:
    friend Result<NewName> checkNewName(const QString &name, QStringView extension);
    explicit NewName(const QString &text) : m_text(text) {}

    QString m_text;
};

} // namespace kelvane
