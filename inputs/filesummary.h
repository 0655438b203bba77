#pragma once

#include "base/result.h"
#include "formats/character.h"
#include "formats/meshfile.h"
#include "inputs/inputfiles.h"

#include <QList>
#include <QString>

namespace kelvane {

// What an input file holds, as the composer sees it, or why the composer
// refuses it. Errors read exactly as the create command reports them for the
// same file.

// A character file as read: its bytes, and the character they hold.
struct CharacterRead {
    QByteArray bytes;
    Character character;
};

// The character a character file of either format holds, read as composing
// reads it (see readCharacterFile): the one place a character is read from
// an input.
Result<CharacterRead> readCharacter(const InputFile &input);
Result<Character> readCharacter(const QString &path);

// The skins of a character file, in order.
Result<QList<Skin>> summarizeCharacterFile(const QString &path);

// The skins of a character file of at most maxBytes, for a summary of many
// files: a larger one is refused unread, the message naming its size.
Result<QList<Skin>> summarizeCharacterFile(const QString &path, qint64 maxBytes);

// The group a mesh file adds: its bone and its mesh name.
Result<Skin> summarizeMeshFile(const QString &path);

} // namespace kelvane
