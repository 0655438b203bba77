#include "platform/windowsfolder.h"

#include "base/messagetext.h"
#include "platform/wineprefix.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QList>
#include <QStringList>

#include <qt_windows.h>

#include <algorithm>
#endif

namespace kelvane {

#ifdef Q_OS_WIN

namespace {

const QString kBackslash = QStringLiteral("\\");

// A name that Windows trims when it makes a full path: "t5." is "t5".
bool isTrimmedByWindows(const QString &name)
{
    return !name.isEmpty() && name != QLatin1StringView(".") && name != QLatin1StringView("..") &&
           (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')));
}

bool hasTrimmedName(const QString &path)
{
    const QStringList names = path.split(QLatin1Char('\\'));
    return std::any_of(names.cbegin(), names.cend(), isTrimmedByWindows);
}

bool isDriveRoot(QStringView path)
{
    return path.size() >= 3 && path[0].isLetter() && path[1] == QLatin1Char(':') &&
           path[2] == QLatin1Char('\\');
}

// "\Games" or "D:Games": relative to a drive rather than to the current folder.
bool isDriveRelative(const QString &path)
{
    if (path.startsWith(kBackslash))
        return !path.startsWith(QStringLiteral("\\\\"));
    return path.size() >= 2 && path[0].isLetter() && path[1] == QLatin1Char(':') &&
           (path.size() == 2 || path[2] != QLatin1Char('\\'));
}

Result<QString> fullPathOf(const QString &given, const QString &path)
{
    const auto *native = reinterpret_cast<const wchar_t *>(path.utf16());
    const DWORD size = GetFullPathNameW(native, 0, nullptr, nullptr);
    QList<wchar_t> full(size + 1);
    const DWORD length = size == 0 ? 0 : GetFullPathNameW(native, size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return Failure{QStringLiteral("%1: Windows makes no folder of it (%2).")
                           .arg(shownName(given), qt_error_string(int(GetLastError())))};
    return QString::fromWCharArray(full.data(), length);
}

} // namespace

Result<QString> folderWindowsMeans(const QString &given)
{
    const QString path = QDir::toNativeSeparators(given);
    // Qt adds "\\?\" itself, which it does not expect to find given.
    if (path.startsWith(QStringLiteral("\\\\?\\")) || path.startsWith(QStringLiteral("\\\\.\\"))) {
        QString plain = path.mid(4);
        if (plain.startsWith(QStringLiteral("UNC\\"), Qt::CaseInsensitive))
            plain = QStringLiteral("\\\\") + plain.mid(4);
        else if (!isDriveRoot(plain))
            return Failure{QStringLiteral("%1: a device path; give the folder as "
                                          "C:\\FOLDER or \\\\SERVER\\SHARE\\FOLDER.")
                               .arg(shownName(given))};
        if (hasTrimmedName(plain))
            return Failure{
                QStringLiteral("%1: a name ending in a dot or a blank is reached "
                               "only by this \\\\?\\ path, which Windows programs do not "
                               "take; rename the folder.")
                    .arg(shownName(given))};
        return plain;
    }
    if (isDriveRelative(path) || hasTrimmedName(path))
        return fullPathOf(given, path);
    return path;
}

#else

Result<QString> folderWindowsMeans(const QString &given)
{
    return QDir::toNativeSeparators(given);
}

#endif

Result<QString> typedOutputFolder(const QString &typed, RelativeFolder relative)
{
    const QString askFullPath =
        QStringLiteral("Type the full path of the folder to save the new file to.");
    if (const std::optional<QString> mapped = prefixPathForWindowsPath(typed))
        return *mapped;
    if (typed.isEmpty())
        return Failure{askFullPath};
    if (const std::optional<QString> drive = unmappedWindowsDrive(typed))
        return Failure{QStringLiteral("%1: a Windows path, but the Wine prefix in use has no "
                                      "drive %2 (set WINEPREFIX to the prefix of the game). %3")
                           .arg(shownName(typed), *drive, askFullPath)};
    if (relative == RelativeFolder::Refused && !QDir::isAbsolutePath(typed))
        return Failure{
            QStringLiteral("%1: not a full folder path. %2").arg(shownName(typed), askFullPath)};
    return folderWindowsMeans(typed);
}

Result<QString> typedInputPath(const QString &typed)
{
    if (const std::optional<QString> mapped = prefixPathForWindowsPath(typed))
        return *mapped;
    if (const std::optional<QString> drive = unmappedWindowsDrive(typed);
        drive && !QFileInfo::exists(typed))
        return Failure{QStringLiteral("%1: a Windows path, but the Wine prefix in use has no "
                                      "drive %2; set WINEPREFIX to the prefix of the game, or "
                                      "give the file's path on this system.")
                           .arg(shownName(typed), *drive)};
    return typed;
}

} // namespace kelvane
