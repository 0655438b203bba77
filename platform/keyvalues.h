#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kelvane {

// One entry of Valve's KeyValues text, the format of Steam's list of its
// libraries (steamapps/libraryfolders.vdf): a key with a text value, or with
// a block of entries in braces.
struct KeyValue {
    QString key;
    QString value;
    QList<KeyValue> block;
    bool isBlock = false;
};

// Reads KeyValues text (UTF-8): quoted strings with backslash escapes, bare
// words, nested braces, "//" comments and "[$WIN32]" conditions. Nothing in
// it is trusted: text that breaks off keeps what came before, blocks nested
// too deep are left out, and a lone backslash stays as written.
QList<KeyValue> parseKeyValues(const QByteArray &text);

} // namespace kelvane
