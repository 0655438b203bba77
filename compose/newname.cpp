#include "compose/newname.h"

#include "base/messagetext.h"
#include "formats/fileformats.h"

#include <QStringList>

namespace kelvane {

QString proposeNewName(const QString &characterFileName, const QString &suffix)
{
    QStringView name = characterFileName;
    const QLatin1StringView binary = formatFor(CharacterFormat::Binary).extension;
    if (name.endsWith(binary, Qt::CaseInsensitive))
        name.chop(binary.size());
    const QStringView first7 = name.left(7);
    if (first7.endsWith(QLatin1Char('_')))
        return first7.toString() + suffix;
    return name.left(9).toString() + QLatin1Char('_') + suffix;
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

namespace {

// The longest file name most file systems hold, in bytes.
constexpr qsizetype kMaxFileNameBytes = 255;

// Whether Windows takes a file of this name for a device: CON, PRN, AUX, NUL,
// COM1 to COM9 or LPT1 to LPT9 (digits ¹²³ too), in any case, alone or before a
// dot or blanks.
bool isDeviceName(const QString &name)
{
    QString stem = name.section(QLatin1Char('.'), 0, 0);
    while (stem.endsWith(QLatin1Char(' ')))
        stem.chop(1);
    stem = stem.toUpper();
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                        QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (devices.contains(stem))
        return true;
    static const QString digits = QStringLiteral("123456789\u00b9\u00b2\u00b3");
    return stem.size() == 4 &&
           (stem.startsWith(QStringLiteral("COM")) || stem.startsWith(QStringLiteral("LPT"))) &&
           digits.contains(stem.back());
}

} // namespace

Result<NewName> checkNewName(const QString &name)
{
    return checkNewName(name, characterExtension(CharacterFormat::Text));
}

Result<NewName> checkNewName(const QString &name, QStringView extension)
{
    if (name.isEmpty())
        return Failure{QStringLiteral("Type a name for the new file.")};
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    for (const QChar c : name) {
        const char16_t code = c.unicode();
        if (isControlCharacter(code))
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
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return Failure{QStringLiteral("The new name ends in \"%1\", which Windows drops from file "
                                      "names; the game would not find the file.")
                           .arg(name.back())};
    if (isDeviceName(name))
        return Failure{QStringLiteral("The new name \"%1\" is the name of a device on Windows, "
                                      "which no file can have.")
                           .arg(name)};
    if ((name + extension.toString()).toUtf8().size() > kMaxFileNameBytes)
        return Failure{QStringLiteral("The new name is too long: with \"%1\" it would pass the "
                                      "%2 bytes a file name can hold.")
                           .arg(extension)
                           .arg(kMaxFileNameBytes)};
    return NewName(name);
}

} // namespace kelvane
