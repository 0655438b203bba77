#pragma once

#include "base/linelist.h"
#include "base/result.h"
#include "formats/character.h"

#include <QString>

#include <optional>

namespace kelvane {

// The line of a character file that holds its count of skins, counted from 0.
inline constexpr qsizetype kSkinCountLine = 7;

// The count of skins in line 7 of a character file: a whole decimal number,
// blanks around it allowed. Anything else, a sign or a fraction included, is
// no count. Values beyond what a qint64 holds come back as the qint64 maximum.
std::optional<qint64> parseSkinCount(QByteArrayView line);

// How many lines of a character file composing uses, judged by its count line:
// through the mesh name of the last group, or through the count line itself
// when the count is one the composer refuses.
qsizetype characterLinesUsed(QByteArrayView countLine);

// The lines of a character file text that composing uses: those up to the last
// skin group its count announces. Cutting no further keeps a huge or hostile
// file from costing more than its own bytes.
LineList splitCharacterFile(const QByteArray &text);

// The character a text character file's lines hold, or why composing refuses
// the lines: line 1 must read "version" and a number, line 3 must be "1" (one
// outfit), and line 7 must count the groups that follow. Only the bone and
// mesh lines are read; the written file gives every other line a fixed value.
Result<Character> textCharacterOf(const LineList &skinLines);

// Whether the first bytes of a file begin as a text character file does: its
// line 1 is "version" and a number.
bool looksLikeTextCharacter(const QByteArray &start);

// The text of a character file for character, ending in the closing "0"
// without a line end: the fixed heading, the name, the outfit's numbers, the
// count and four lines per skin.
QByteArray textOfCharacter(const Character &character);

} // namespace kelvane
