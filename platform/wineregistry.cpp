#include "platform/wineregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace kelvane {

namespace {

constexpr qint64 kPieceSize = 64 * 1024;
// No line of a registry file comes near this; a longer one is skipped.
constexpr qsizetype kMaxLineSize = 1024 * 1024;

int digitValue(char c, int base)
{
    const int value = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : base;
    return value < base ? value : -1;
}

// The quoted string starting at text[at], with Wine's escapes undone; at ends
// after the closing quote. None when it is not closed on its line.
std::optional<QString> quoted(QByteArrayView text, qsizetype &at)
{
    if (at >= text.size() || text[at] != '"')
        return std::nullopt;
    QString result;
    QByteArray plain;
    const auto flush = [&] {
        result += QString::fromUtf8(plain);
        plain.clear();
    };
    for (++at; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"') {
            ++at;
            flush();
            return result;
        }
        if (c != '\\' || at + 1 >= text.size()) {
            plain.append(c);
            continue;
        }
        flush();
        const char escaped = text[++at];
        const int base = escaped == 'x' ? 16 : digitValue(escaped, 8) >= 0 ? 8 : 0;
        if (base == 0) {
            static const QByteArrayView from("abefnrtv");
            static const char to[] = "\a\b\x1b\f\n\r\t\v";
            const qsizetype named = from.indexOf(escaped);
            result += QLatin1Char(named >= 0 ? to[named] : escaped);
            continue;
        }
        // "\x" and up to four hexadecimal digits, or up to three octal ones.
        if (base == 16)
            ++at;
        char16_t unit = 0;
        const qsizetype end = at + (base == 16 ? 4 : 3);
        for (; at < end && at < text.size() && digitValue(text[at], base) >= 0; ++at)
            unit = char16_t(unit * base + digitValue(text[at], base));
        --at;
        result += QChar(unit);
    }
    return std::nullopt;
}

// A key as its line begins: "[Software\\\\Maxis\\\\The Sims]", in lower case.
QByteArray headerOf(const QString &key)
{
    QByteArray header = key.toLower().toUtf8();
    header.replace("\\", "\\\\");
    return '[' + header + ']';
}

} // namespace

WineRegistry::WineRegistry(const QString &path, const QStringList &keys)
{
    // Looked at without opening it, so that nothing can make the caller wait.
    const QFileInfo info(path);
    if (!info.exists())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    if (!info.isFile()) {
        m_note = QStringLiteral("%1: not a regular file, left unread").arg(shown);
        return;
    }
    if (info.size() > kMaxSize) {
        m_note = QStringLiteral("%1: left unread, larger than a registry file can be (%2 MB)")
                     .arg(shown)
                     .arg(kMaxSize / (1024 * 1024));
        return;
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        read(file, keys);
}

QString WineRegistry::value(const QString &key, const QString &name) const
{
    return m_values.value(key.toLower()).value(name.toLower());
}

void WineRegistry::read(QIODevice &file, const QStringList &keys)
{
    QList<QByteArray> headers;
    for (const QString &key : keys)
        headers.append(headerOf(key));
    qsizetype section = -1; // the key of the lines read, when one asked for

    // Whole lines are looked at; the start of a line cut off by the end of a
    // piece waits for the next piece. Only each new piece is searched for the
    // end of a line, so the pass takes time in proportion to the file.
    QByteArray lines;
    bool inLongLine = false; // the rest of an overlong line is dropped
    for (bool atEnd = false; !atEnd;) {
        QByteArray piece = file.read(kPieceSize);
        atEnd = piece.isEmpty();
        if (inLongLine) {
            const qsizetype lineEnd = piece.indexOf('\n');
            inLongLine = lineEnd < 0;
            piece.remove(0, inLongLine ? piece.size() : lineEnd + 1);
        }
        lines += piece;
        const qsizetype lastInPiece = piece.lastIndexOf('\n');
        qsizetype end = atEnd              ? lines.size()
                        : lastInPiece >= 0 ? lines.size() - piece.size() + lastInPiece + 1
                                           : 0;
        if (end == 0 && lines.size() > kMaxLineSize) {
            lines.clear();
            section = -1;
            inLongLine = true;
        }
        for (qsizetype at = 0; at < end;) {
            if (section < 0) {
                // Outside the keys asked for only lines beginning a key count.
                while (at < end && !(lines[at] == '[' && (at == 0 || lines[at - 1] == '\n'))) {
                    const qsizetype bracket = lines.indexOf('[', at + 1);
                    at = bracket < 0 || bracket >= end ? end : bracket;
                }
                if (at >= end)
                    break;
            }
            qsizetype lineEnd = lines.indexOf('\n', at);
            if (lineEnd < 0 || lineEnd > end)
                lineEnd = end;
            const QByteArrayView line = QByteArrayView(lines).sliced(at, lineEnd - at);
            if (line.startsWith('[')) {
                section = -1;
                for (qsizetype i = 0; i < headers.size() && section < 0; ++i) {
                    if (line.size() >= headers[i].size() &&
                        qstrnicmp(line.data(), headers[i].constData(), headers[i].size()) == 0)
                        section = i;
                }
            } else if (section >= 0) {
                qsizetype pos = 0;
                const std::optional<QString> name = quoted(line, pos);
                if (name && line.sliced(pos).startsWith('=')) {
                    ++pos;
                    // A plain string, or one whose variables Windows expands.
                    if (line.sliced(pos).startsWith("str(2):"))
                        pos += 7;
                    if (const std::optional<QString> text = quoted(line, pos))
                        m_values[keys[section].toLower()].insert(name->toLower(), *text);
                }
            }
            at = lineEnd + 1;
        }
        lines.remove(0, end);
    }
}

} // namespace kelvane
