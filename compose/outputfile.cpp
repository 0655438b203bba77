#include "compose/outputfile.h"

#include "compose/backup.h"
#include "compose/filekind.h"
#include "compose/messagetext.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kelvane {

namespace {

Failure<QString> cannotWrite(const QString &path, const QString &reason)
{
    return {QStringLiteral("%1: the file cannot be written (%2).").arg(shownName(path), reason)};
}

} // namespace

Result<void> checkOutputPath(const QString &outputPath)
{
    const QFileInfo folder(QFileInfo(outputPath).path());
    if (!folder.exists())
        return Failure{QStringLiteral("%1: the output folder does not exist.")
                           .arg(shownName(folder.filePath()))};
    if (!folder.isDir())
        return Failure{QStringLiteral("%1: the output folder is not a folder.")
                           .arg(shownName(folder.filePath()))};
    const QFileInfo output(outputPath);
    if (output.isSymLink() && !output.exists())
        return Failure{QStringLiteral("%1: the name is a link to %2, which does not exist; "
                                      "choose another name or remove the link.")
                           .arg(shownName(outputPath), shownName(output.symLinkTarget()))};
    switch (fileKindOf(outputPath)) {
    case FileKind::Folder:
        return cannotWrite(outputPath, QStringLiteral("a folder has that name"));
    case FileKind::Special:
        return cannotWrite(outputPath, QStringLiteral("it is not a regular file"));
    case FileKind::Missing:
    case FileKind::Regular:
        break;
    }
    return {};
}

Result<QString> writeCharacterFile(const QString &path, const QByteArray &bytes, Backup backup)
{
    if (const Result<void> checked = checkOutputPath(path); !checked.ok())
        return Failure{checked.error()};
    const QString target = replacedFilePath(path);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(path, file.errorString());
    // A short write (disk full, file size limit) is not always reported as an
    // error of the device, and commit() may not notice it: the counts and an
    // explicit flush are what tell.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return cannotWrite(path, QStringLiteral("only part of it could be stored; the disk may "
                                                "be full; no file was changed"));
    }

    // The new content is complete before the backup is made, and the backup
    // exists before the new content takes the old one's name.
    QString backupPath;
    if (backup == Backup::Keep && QFileInfo::exists(target)) {
        const Result<QString> kept = makeBackup(target);
        if (!kept.ok()) {
            file.cancelWriting();
            return Failure{kept.error()};
        }
        backupPath = kept.value();
    }
    if (!file.commit()) {
        if (!backupPath.isEmpty())
            QFile::remove(backupPath);
        return cannotWrite(path, file.errorString());
    }
    return backupPath;
}

} // namespace kelvane
