#include "compose/linelist.h"

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

LineList splitLines(const QByteArray &text, qsizetype maxLines)
{
    if (text.isEmpty())
        return {};
    if (!text.contains("\r\n") && text.contains('\n'))
        return splitAt(text, "\n", maxLines);
    return splitAt(text, "\r\n", maxLines);
}

} // namespace kelvane
