#include "replace/restore.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "inputs/archivepath.h"
#include "inputs/inputfiles.h"
#include "replace/backup.h"
#include "replace/outputfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace kelvane {

namespace {

const QString kBak = QStringLiteral(".bak");

// Names are compared as the file system compares them.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kNameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kNameCase = Qt::CaseSensitive;
#endif

// The number of the backup whose name ends in ".bak" and then rest: 1 for
// none, the number for one from 2 on written plainly; 0 when rest is no
// backup number.
int backupNumber(QStringView rest)
{
    if (rest.isEmpty())
        return 1;
    const bool digits =
        std::all_of(rest.begin(), rest.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digits || rest.size() > 9 || rest.startsWith(u'0'))
        return 0;
    const int number = rest.toInt();
    return number >= 2 ? number : 0;
}

std::optional<QString> insideArchive(const QString &path)
{
    const std::optional<ArchivePath> inside = archivePathOf(path);
    if (!inside)
        return std::nullopt;
    return QStringLiteral("%1: this is inside the archive %2, and nothing in an archive is ever "
                          "changed or restored.")
        .arg(shownName(path), shownName(inside->archive));
}

// Whether backup is only another name of the file itself: a symbolic link
// to it, or a hard link where the system tells.
bool isTheFileItself(const QString &backup, const QString &file)
{
    if (fileIdentity(backup) == fileIdentity(file))
        return true;
    const quint64 inode = fileStamp(file).inode;
    return inode != 0 && !QFileInfo(backup).isSymLink() && fileStamp(backup).inode == inode;
}

} // namespace

QList<BackupFile> backupsOf(const QString &path)
{
    if (archivePathOf(path))
        return {};
    const QString file = replacedFilePath(path);
    if (file.isEmpty())
        return {};
    const QFileInfo info(file);
    const QString prefix = info.fileName() + kBak;
    const QDir folder = info.dir();

    struct Found {
        BackupFile backup;
        int number;
    };
    QList<Found> found;
    for (QDirIterator entries(folder.path(), QDir::Files | QDir::Hidden); entries.hasNext();) {
        entries.next();
        const QString name = entries.fileName();
        if (!name.startsWith(prefix, kNameCase))
            continue;
        const int number = backupNumber(QStringView(name).sliced(prefix.size()));
        const QString backup = QDir::toNativeSeparators(folder.filePath(name));
        if (number == 0 || fileKindOf(backup) != FileKind::Regular || isTheFileItself(backup, file))
            continue;
        const QFileInfo entry = entries.fileInfo();
        found.append({{backup, entry.lastModified(), entry.size()}, number});
    }
    // Ties go to the higher number, the later name as a rule.
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        if (a.backup.modified != b.backup.modified)
            return a.backup.modified > b.backup.modified;
        return a.number > b.number;
    });
    QList<BackupFile> backups;
    for (const Found &each : found)
        backups.append(each.backup);
    return backups;
}

QString fileOfBackup(const QString &backupPath)
{
    const QString name = QFileInfo(backupPath).fileName();
    const qsizetype at = name.lastIndexOf(kBak, -1, kNameCase);
    if (at <= 0 || backupNumber(QStringView(name).sliced(at + kBak.size())) == 0)
        return {};
    return backupPath.chopped(name.size() - at);
}

Result<Restored> restoreBackup(const QString &path, const QString &backupPath)
{
    for (const QString &each : {path, backupPath}) {
        if (const std::optional<QString> refused = insideArchive(each))
            return Failure{*refused};
    }
    const QString file = replacedFilePath(path);
    if (!file.isEmpty() && isTheFileItself(backupPath, file))
        return Failure{QStringLiteral("%1: this is the file itself, not one of its backups.")
                           .arg(shownName(backupPath))};
    const Result<QByteArray> bytes = readWholeFile(backupPath);
    if (!bytes.ok())
        return Failure{bytes.error()};
    const Result<Replaced> written = writeCharacterFile(path, bytes.value(), Backup::Keep);
    if (!written.ok())
        return Failure{written.error()};
    return Restored{file, backupPath, written.value().backupPath, written.value().settled};
}

Result<Restored> restoreNewestBackup(const QString &path)
{
    if (const std::optional<QString> refused = insideArchive(path))
        return Failure{*refused};
    const QList<BackupFile> backups = backupsOf(path);
    if (!backups.isEmpty())
        return restoreBackup(path, backups.first().path);
    const QString name = QFileInfo(path).fileName();
    return Failure{QStringLiteral("%1: it has no backup to restore (no %2, %3, ... beside it); "
                                  "nothing was changed.")
                       .arg(shownName(path), shownName(name + kBak),
                            shownName(name + kBak + QLatin1Char('2')))};
}

} // namespace kelvane
