#include "compose/backup.h"

#include "compose/messagetext.h"

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
constexpr qint64 kPiece = 64 * 1024;

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

enum class Link { Made, Taken, Unsupported };

// A hard link at backup to file; Taken when a file of that name exists.
Link hardLink(const QString &file, const QString &backup)
{
#ifdef Q_OS_WIN
    if (CreateHardLinkW(reinterpret_cast<const wchar_t *>(backup.utf16()),
                        reinterpret_cast<const wchar_t *>(file.utf16()), nullptr))
        return Link::Made;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Link::Taken
                                                                       : Link::Unsupported;
#else
    if (::link(QFile::encodeName(file).constData(), QFile::encodeName(backup).constData()) == 0)
        return Link::Made;
    return errno == EEXIST ? Link::Taken : Link::Unsupported;
#endif
}

Failure<QString> backupFailure(const QString &path, const QString &reason)
{
    return {QStringLiteral("%1: the old file cannot be kept as a backup (%2); nothing was changed.")
                .arg(shownName(path), reason)};
}

enum class Copy { Made, Taken, Failed };

// Copies file to backup, which must not exist yet; a partial copy is removed.
Copy copyTo(const QString &file, const QString &backup, QString &error)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        error = source.errorString();
        return Copy::Failed;
    }
    QFile target(backup);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo(backup).exists() || QFileInfo(backup).isSymLink())
            return Copy::Taken;
        error = target.errorString();
        return Copy::Failed;
    }
    bool copied = true;
    while (copied) {
        const QByteArray piece = source.read(kPiece);
        if (piece.isEmpty()) {
            copied = source.error() == QFileDevice::NoError;
            break;
        }
        copied = target.write(piece) == piece.size();
    }
    copied = copied && target.flush();
    target.close();
    if (!copied) {
        error = QStringLiteral("only part of it could be copied; the disk may be full");
        target.remove();
        return Copy::Failed;
    }
    target.setPermissions(source.permissions());
    return Copy::Made;
}

} // namespace

QString replacedFilePath(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.canonicalFilePath() : path;
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

Result<QString> makeBackup(const QString &path)
{
    bool linksWork = true;
    for (int number = 1; number <= kMaxBackups; ++number) {
        const QString backup = candidate(path, number);
        if (!isFree(backup))
            continue;
        if (linksWork) {
            const Link link = hardLink(path, backup);
            if (link == Link::Made)
                return backup;
            if (link == Link::Taken)
                continue;
            linksWork = false;
        }
        QString error;
        const Copy copy = copyTo(path, backup, error);
        if (copy == Copy::Made)
            return backup;
        if (copy == Copy::Failed)
            return backupFailure(path, error);
    }
    return backupFailure(
        path, QStringLiteral("every backup name up to .bak%1 is taken").arg(kMaxBackups));
}

} // namespace kelvane
