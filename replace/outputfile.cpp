#include "replace/outputfile.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "inputs/archivepath.h"
#include "inputs/inputfiles.h"
#include "replace/backup.h"

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

Result<void> checkReplaceable(const QString &path)
{
    const QString replaced = replacedFilePath(path);
    if (fileKindOf(replaced) != FileKind::Regular)
        return {};
    const Result<const FileFormat *> format = formatOfFile(replaced);
    if (!format.ok())
        return Failure{format.error()};
    if (format.value() && format.value()->role == FileRole::Character)
        return {};
    // An empty file holds nothing to keep; anything else that is no character
    // file may be another program's, reached through a link or a wrong name.
    if (!format.value() && QFileInfo(replaced).size() == 0)
        return {};
    const QString what = format.value()
                             ? QStringLiteral("it is %1, not a character file")
                                   .arg(QString(format.value()->description))
                             : QStringLiteral("it holds no character file Kelvane can read");
    return Failure{QStringLiteral("%1: not replaced: %2, and only character files are ever "
                                  "replaced; choose another name.")
                       .arg(shownName(QDir::toNativeSeparators(path)), what)};
}

Result<Replaced> writeCharacterFile(const QString &path, const QByteArray &bytes, Backup backup)
{
    if (const Result<void> checked = checkOutputPath(path); !checked.ok())
        return Failure{checked.error()};
    if (const Result<void> replaceable = checkReplaceable(path); !replaceable.ok())
        return Failure{replaceable.error()};
    return replaceFile(replacedFilePath(path), bytes, backup == Backup::Keep);
}

QStringList settleLeftoversOf(const QString &path)
{
    if (archivePathOf(path))
        return {};
    const QString file = replacedFilePath(path);
    return file.isEmpty() ? QStringList() : settleInterruptedReplaces(file);
}

} // namespace kelvane
