#pragma once

#include <QByteArrayView>
#include <QString>

namespace kelvane {

// Text from outside the program as messages show it: control characters are
// written as escapes (\r, \n, \t, \x1b, ...) so that a message never moves the
// cursor or changes the colours of a terminal.

// Whether code is a control character (C0, DEL or C1), which messages escape
// and names may not hold.
bool isControlCharacter(char16_t code);

// Bytes read from a game file: decoded as Latin-1, control bytes escaped, cut
// short when long.
QString shownBytes(QByteArrayView bytes, qsizetype maxShown = 40);

// The same, in double quotes.
QString quotedBytes(QByteArrayView bytes);

// A file name or path with its control characters escaped. A name the system
// could not decode keeps the replacement character (U+FFFD) where its bytes
// were.
QString shownName(const QString &name);

// Whether a name from the system held bytes that could not be decoded, so that
// the file it named cannot be opened under it.
bool nameWasUndecodable(const QString &name);

} // namespace kelvane
