#pragma once

#include "base/result.h"
#include "formats/character.h"

#include <QByteArray>

namespace kelvane {

// Reads and writes a character file: the table of formats picks the reader by
// the file's content, never by its name.

// The character the bytes of a character file hold, text or binary.
Result<Character> characterOf(const QByteArray &bytes);

// The bytes of the file character is written as, in its format: for text,
// the layout of the game's text files with a line end after the last line.
QByteArray fileBytesOf(const Character &character);

// Why character cannot be written in its format; nothing when it can. Only
// the binary format limits names, to 255 bytes each.
std::optional<QString> unstorableName(const Character &character);

} // namespace kelvane
