#include "replace/backup.h"

#include "base/messagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace kelvane {

namespace {

bool isFree(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
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

QString backupName(const QString &path, int number)
{
    const QString bak = QStringLiteral(".bak");
    return number == 1 ? path + bak : path + bak + QString::number(number);
}

QString backupPathFor(const QString &outputPath)
{
    const QString file = replacedFilePath(outputPath);
    for (int number = 1; number <= kMaxBackups; ++number) {
        if (isFree(backupName(file, number)))
            return backupName(file, number);
    }
    return {};
}

QString noFreeBackupName(const QString &path)
{
    return QStringLiteral("%1: no backup name is free (every name up to %2 is taken), so its old "
                          "content could not be kept; move some old backups away first.")
        .arg(shownName(path), shownName(QFileInfo(backupName(path, kMaxBackups)).fileName()));
}

QString shownBackupName(const QString &backupPath, const QString &path)
{
    const QFileInfo backup(backupPath);
    if (backup.absolutePath() == QFileInfo(path).absolutePath())
        return shownName(backup.fileName());
    return shownName(QDir::toNativeSeparators(backup.absoluteFilePath()));
}

} // namespace kelvane
