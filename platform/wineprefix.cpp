#include "platform/wineprefix.h"

#include <QDir>
#include <QRegularExpression>

namespace kelvane {

namespace {

const QString kLabel = QStringLiteral(" [wine]");

bool isLetter(const QString &name)
{
    // Only "c:", not the device links "c::" or "com1" that live beside the letters.
    static const QRegularExpression letter(QStringLiteral("^[a-z]:$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return letter.match(name).hasMatch();
}

} // namespace

WinePrefix WinePrefix::inUse()
{
    const QString configured = qEnvironmentVariable("WINEPREFIX");
    return WinePrefix(configured.isEmpty() ? QDir::home().filePath(QStringLiteral(".wine"))
                                           : configured);
}

QList<WinePrefix::Drive> WinePrefix::drives() const
{
    // Dirs follows links, so dangling links and links to files are left out.
    const QDir devices(QDir(m_path).filePath(QStringLiteral("dosdevices")));
    QList<Drive> found;
    for (const QFileInfo &entry :
         devices.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        const QString root = entry.canonicalFilePath();
        if (isLetter(entry.fileName()) && !root.isEmpty())
            found.append({entry.fileName().toLower(), QDir::toNativeSeparators(root)});
    }
    return found;
}

QString WinePrefix::rootOf(const QString &letter) const
{
    for (const Drive &drive : drives()) {
        if (drive.letter == letter)
            return drive.root;
    }
    return {};
}

QString WinePrefix::driveText(const QString &letter)
{
    return letter + kLabel;
}

QString WinePrefix::letterOf(const QString &driveText)
{
    if (!driveText.endsWith(kLabel))
        return {};
    const QString letter = driveText.chopped(kLabel.size());
    return isLetter(letter) ? letter : QString();
}

} // namespace kelvane
