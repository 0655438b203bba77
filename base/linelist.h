#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kelvane {

using LineList = QList<QByteArray>;

// Cuts a game text into lines counted from 0. Lines end in CR LF; a lone CR
// or LF stays inside its line. A text holding no CR LF but some LF (as Linux
// tools write it) is cut at LF instead. A text ending in a line end yields a
// last, empty line; an empty text yields no line at all. With maxLines set,
// cutting stops after that many lines and the rest of the text is dropped.
LineList splitLines(const QByteArray &text, qsizetype maxLines = -1);

// The line end splitLines cuts text at: CR LF, or LF in a text holding no
// CR LF but some LF.
QByteArrayView lineEndOf(QByteArrayView text);

// Whether c is a blank of the game's text files: a space or a tab.
constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// text without the blanks at its start and end.
QByteArrayView trimmedBlanks(QByteArrayView text);

// Whether line is line 1 of a text character or skeleton file: "version" in
// any case and a whole number, blanks allowed around the line and between the
// two ("Version 300", "version300").
bool isVersionLine(QByteArrayView line);

// Whether bytes are text saved as UTF-16 ("Unicode" in Windows editors): a
// byte-order mark, or a zero at every other byte of the first characters.
bool isUtf16Text(QByteArrayView bytes);

// Why a game file saved as UTF-16 is refused, and what to do.
QString utf16Fault();

} // namespace kelvane
