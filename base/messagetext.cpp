#include "base/messagetext.h"

namespace kelvane {

namespace {

void appendEscaped(QString &text, char16_t code)
{
    switch (code) {
    case u'\r':
        text += QStringLiteral("\\r");
        return;
    case u'\n':
        text += QStringLiteral("\\n");
        return;
    case u'\t':
        text += QStringLiteral("\\t");
        return;
    default:
        text += QStringLiteral("\\x%1").arg(int(code), 2, 16, QLatin1Char('0'));
    }
}

QString escaped(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (isControlCharacter(c.unicode()))
            appendEscaped(shown, c.unicode());
        else
            shown += c;
    }
    return shown;
}

} // namespace

bool isControlCharacter(char16_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

QString shownBytes(QByteArrayView bytes, qsizetype maxShown)
{
    QString shown = escaped(QString::fromLatin1(bytes.first(qMin(bytes.size(), maxShown))));
    if (bytes.size() > maxShown)
        shown += QStringLiteral("...");
    return shown;
}

QString quotedBytes(QByteArrayView bytes)
{
    return QLatin1Char('"') + shownBytes(bytes) + QLatin1Char('"');
}

QString shownName(const QString &name)
{
    return escaped(name);
}

bool nameWasUndecodable(const QString &name)
{
    return name.contains(QChar::ReplacementCharacter);
}

} // namespace kelvane
