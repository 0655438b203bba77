#pragma once

#include "base/result.h"
#include "formats/character.h"

#include <QByteArrayView>

namespace kelvane {

// The game's binary character files (.cmx.bcf): little-endian u32 counts of
// skeletons, outfits (suits) and skills, each followed by its items. A suit is
// a name (a length byte and that many bytes), a type, a second number and its
// skins; a skin is a bone name, a mesh name, censor flags and a second number.

// Whether bytes begin as a binary character file does: a u32 count, which no
// text file of the game begins with (one saved as UTF-16 may: tell those
// apart first).
bool looksLikeBinaryCharacter(QByteArrayView bytes);

// The character bytes hold: no skeleton, one suit, no skill and nothing after,
// every count checked against the bytes left before anything is taken. The
// failure says what is wrong, and what the file looks like when it is another
// kind of the game's binary files.
Result<Character> binaryCharacterOf(QByteArrayView bytes);

// The bytes of character as a binary character file. Every name must fit a
// length byte (255 bytes at most): a longer one cannot be stored.
QByteArray binaryOfCharacter(const Character &character);

} // namespace kelvane
