#include "linelist.h"

namespace kelvane {

namespace {

LineList splitAt(const QByteArray &text, QByteArrayView separator)
{
    LineList lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(separator, start);
        if (end < 0)
            break;
        lines.append(text.mid(start, end - start));
        start = end + separator.size();
    }
    lines.append(text.mid(start));
    return lines;
}

} // namespace

LineList splitLines(const QByteArray &text)
{
    if (text.isEmpty())
        return {};
    if (!text.contains("\r\n") && text.contains('\n'))
        return splitAt(text, "\n");
    return splitAt(text, "\r\n");
}

} // namespace kelvane
