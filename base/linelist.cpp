#include "base/linelist.h"

#include <algorithm>

namespace kelvane {

namespace {

LineList splitAt(const QByteArray &text, QByteArrayView separator, qsizetype maxLines)
{
    LineList lines;
    qsizetype start = 0;
    while (maxLines < 0 || lines.size() < maxLines) {
        const qsizetype end = text.indexOf(separator, start);
        if (end < 0) {
            lines.append(text.mid(start));
            break;
        }
        lines.append(text.mid(start, end - start));
        start = end + separator.size();
    }
    return lines;
}

} // namespace

QByteArrayView lineEndOf(QByteArrayView text)
{
    if (!text.contains("\r\n") && text.contains('\n'))
        return "\n";
    return "\r\n";
}

LineList splitLines(const QByteArray &text, qsizetype maxLines)
{
    if (text.isEmpty())
        return {};
    return splitAt(text, lineEndOf(text), maxLines);
}

QByteArrayView trimmedBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool isVersionLine(QByteArrayView line)
{
    const QByteArrayView word = "version";
    line = trimmedBlanks(line);
    if (line.size() <= word.size() ||
        QByteArrayView(line.first(word.size())).compare(word, Qt::CaseInsensitive) != 0)
        return false;
    const QByteArrayView number = trimmedBlanks(line.sliced(word.size()));
    return !number.isEmpty() &&
           std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isUtf16Text(QByteArrayView bytes)
{
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff"))
        return true;
    // Latin letters, digits and punctuation of UTF-16 in either byte order.
    constexpr qsizetype kLooked = 8;
    if (bytes.size() < kLooked)
        return false;
    const auto zeroesAt = [&bytes](qsizetype first) {
        for (qsizetype i = 0; i < kLooked; ++i) {
            if ((bytes[i] == 0) != (i % 2 == first))
                return false;
        }
        return true;
    };
    return zeroesAt(1) || zeroesAt(0);
}

QString utf16Fault()
{
    return QStringLiteral("the file is saved as Unicode (UTF-16); save it as ANSI text.");
}

} // namespace kelvane
