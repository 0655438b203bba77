#include "compose/newname.h"

namespace kelvane {

QString proposeNewName(const QString &characterFileName, const QString &suffix)
{
    const QString first7 = characterFileName.left(7);
    if (first7.endsWith(QLatin1Char('_')))
        return first7 + suffix;
    return characterFileName.left(9) + QLatin1Char('_') + suffix;
}

QString suffixOfName(const QString &name, const QString &previousSuffix)
{
    const qsizetype first = name.indexOf(QLatin1Char('_'));
    if (first < 0)
        return previousSuffix;
    const qsizetype second = name.indexOf(QLatin1Char('_'), first + 1);
    const qsizetype length = second < 0 ? -1 : second - first - 1;
    return name.mid(first + 1, length);
}

Result<NewName> checkNewName(const QString &name)
{
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    for (const QChar c : name) {
        const char16_t code = c.unicode();
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            return Failure{
                QStringLiteral("The new name holds a control character (code %1), which cannot "
                               "stand in a file name.")
                    .arg(int(code))};
        if (code > 0xFF)
            return Failure{
                QStringLiteral("The new name holds \"%1\", which a character file cannot hold; "
                               "use letters, digits and the punctuation of Western European "
                               "languages only.")
                    .arg(c)};
        if (forbidden.contains(c))
            return Failure{
                QStringLiteral("The new name holds \"%1\", which cannot stand in a file name "
                               "(none of %2 may).")
                    .arg(c)
                    .arg(forbidden)};
    }
    return NewName(name);
}

} // namespace kelvane
