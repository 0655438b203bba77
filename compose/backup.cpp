#include "compose/backup.h"

#include "compose/messagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace kelvane {

namespace {

// Far more backups than anyone keeps; the bound only ends the search.
constexpr int kMaxBackups = 9999;

QString candidate(const QString &file, int number)
{
    const QString bak = QStringLiteral(".bak");
    return number == 1 ? file + bak : file + bak + QString::number(number);
}

bool isFree(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

// Moves from to the free name to, never replacing a file that took it meanwhile.
bool moveToFreeName(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()),
                       reinterpret_cast<const wchar_t *>(to.utf16()), MOVEFILE_WRITE_THROUGH);
#else
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    // Without hard links (FAT, exFAT) the name was free a moment ago.
    return errno != EEXIST && isFree(to) && ::rename(source.constData(), target.constData()) == 0;
#endif
}

// The path with every short (8.3) name in it written out long, as Windows
// lists the files; path itself elsewhere.
QString longName(const QString &path)
{
#ifdef Q_OS_WIN
    const std::wstring given = QDir::toNativeSeparators(path).toStdWString();
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetLongPathNameW(given.c_str(), full.data(), DWORD(full.size()));
    if (length > full.size()) {
        full.resize(length);
        length = GetLongPathNameW(given.c_str(), full.data(), DWORD(full.size()));
    }
    if (length == 0 || length > full.size())
        return path;
    full.resize(length);
    return QString::fromStdWString(full);
#else
    return path;
#endif
}

} // namespace

QString replacedFilePath(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? QString() : path;
    return QDir::toNativeSeparators(longName(info.canonicalFilePath()));
}

QString backupPathFor(const QString &outputPath)
{
    const QString file = replacedFilePath(outputPath);
    for (int number = 1; number <= kMaxBackups; ++number) {
        if (isFree(candidate(file, number)))
            return candidate(file, number);
    }
    return {};
}

Result<QString> nameAsBackup(const QString &kept, const QString &path)
{
    for (int number = 1; number <= kMaxBackups; ++number) {
        const QString backup = candidate(path, number);
        if (isFree(backup) && moveToFreeName(kept, backup))
            return backup;
        if (!QFileInfo::exists(kept))
            break;
    }
    return Failure{QStringLiteral("no backup name is free")};
}

QString noFreeBackupName(const QString &path)
{
    return QStringLiteral("%1: no backup name is free (every name up to %2 is taken), so its old "
                          "content could not be kept; move some old backups away first.")
        .arg(shownName(path), shownName(QFileInfo(candidate(path, kMaxBackups)).fileName()));
}

QString shownBackupName(const QString &backupPath, const QString &path)
{
    const QFileInfo backup(backupPath);
    if (backup.absolutePath() == QFileInfo(path).absolutePath())
        return shownName(backup.fileName());
    return shownName(QDir::toNativeSeparators(backup.absoluteFilePath()));
}

} // namespace kelvane
