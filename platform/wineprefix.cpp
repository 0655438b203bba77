#include "platform/wineprefix.h"

#include "base/filekind.h"

#include <QDir>

namespace kelvane {

namespace {

const QString kLabel = QStringLiteral(" [wine]");

bool isLetter(const QString &name)
{
    // Only "c:", not the device links "c::" or "com1" that live beside the letters.
    // Plain code: a regular expression here would cost every start-up.
    if (name.size() != 2 || name[1] != u':')
        return false;
    const QChar letter = name[0].toLower();
    return letter >= u'a' && letter <= u'z';
}

} // namespace

bool isWindowsAbsolutePath(const QString &path)
{
    return isLetter(path.left(2)) && (path.size() == 2 || path[2] == u'\\' || path[2] == u'/');
}

std::optional<QString> unmappedWindowsDrive(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
#else
    if (isWindowsAbsolutePath(path) && !prefixPathForWindowsPath(path))
        return path.left(2).toUpper();
#endif
    return std::nullopt;
}

std::optional<QString> prefixPathForWindowsPath(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return std::nullopt;
#else
    return WinePrefix::inUse().folderForWindowsPath(path);
#endif
}

std::optional<QString> WinePrefix::folderForWindowsPath(const QString &windowsPath) const
{
    if (!isWindowsAbsolutePath(windowsPath))
        return std::nullopt;
    const QString root = rootOf(windowsPath.left(2).toLower());
    if (root.isEmpty())
        return std::nullopt;

    // ".." stops at the drive's root, as on Windows.
    QStringList names;
    QString within = windowsPath.mid(2);
    within.replace(u'\\', u'/');
    for (const QString &name : within.split(u'/', Qt::SkipEmptyParts)) {
        if (name == QStringLiteral("..")) {
            if (!names.isEmpty())
                names.removeLast();
        } else if (name != QStringLiteral(".")) {
            names.append(name);
        }
    }
    QDir folder(root);
    for (const QString &name : std::as_const(names)) {
        const QString found = entryNamedIn(folder.path(), name);
        folder.setPath(found.isEmpty() ? folder.filePath(name) : found);
    }
    return QDir::toNativeSeparators(folder.path());
}

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
