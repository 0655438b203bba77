#include "platform/systempaths.h"

#include "platform/drives.h"
#include "platform/wineprefix.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace kelvane {

QString driveRoot(const QString &driveText)
{
    if (const std::optional<QString> game = gameEntryFolder(driveText))
        return *game;
#ifdef Q_OS_WIN
    // Of a drive letter's text only the letter and colon count.
    static const QRegularExpression letter(QStringLiteral("^[A-Za-z]:( \\[.*\\])?$"));
    if (letter.match(driveText).hasMatch())
        return driveText.left(2) + QLatin1Char('\\');
#else
    if (const QString letter = WinePrefix::letterOf(driveText); !letter.isEmpty())
        return WinePrefix::inUse().rootOf(letter);
#endif
    if (driveText.endsWith(QLatin1Char(']'))) {
        const qsizetype labelStart = driveText.lastIndexOf(QStringLiteral(" ["));
        if (labelStart > 0)
            return driveText.left(labelStart);
    }
    return driveText;
}

QString systemRoot()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\");
#else
    const QString wineC = WinePrefix::inUse().rootOf(QStringLiteral("c:"));
    return wineC.isEmpty() ? QStringLiteral("/") : wineC;
#endif
}

QString startDriveFolder()
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(QDir::currentPath());
#else
    return systemRoot();
#endif
}

QString pathSeparator()
{
    return QString(QDir::separator());
}

Qt::CaseSensitivity pathCaseSensitivity()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool folderCanBeListed(const QString &path)
{
    const QFileInfo folder(path);
    if (!folder.isDir() || !folder.isReadable())
        return false;
#ifdef Q_OS_WIN
    return true;
#else
    // Listing needs read permission, opening an entry needs search permission.
    return folder.isExecutable();
#endif
}

} // namespace kelvane
