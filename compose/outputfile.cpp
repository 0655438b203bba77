#include "compose/outputfile.h"

#include "compose/backup.h"
#include "compose/filekind.h"
#include "compose/messagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    const QString shownFolder = shownName(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.exists() && nameWasUndecodable(folder.filePath()))
        return Failure{QStringLiteral("%1: the output folder's path holds bytes that are not text "
                                      "in the system's encoding, so the folder cannot be opened "
                                      "under it; rename the folder whose name holds them.")
                           .arg(shownFolder)};
    if (!folder.exists())
        return Failure{QStringLiteral("%1: the output folder does not exist.").arg(shownFolder)};
    if (!folder.isDir())
        return Failure{QStringLiteral("%1: the output folder is not a folder.").arg(shownFolder)};
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

Result<Replaced> writeCharacterFile(const QString &path, const QByteArray &bytes, Backup backup)
{
    if (const Result<void> checked = checkOutputPath(path); !checked.ok())
        return Failure{checked.error()};
    return replaceFile(replacedFilePath(path), bytes, backup == Backup::Keep);
}

} // namespace kelvane
