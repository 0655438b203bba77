#include "cli/attachjob.h"

#include "cli/batchfiles.h"
#include "cli/consoleoutput.h"
#include "cli/skinlisting.h"
#include "compose/cmxfile.h"
#include "compose/filesummary.h"
#include "compose/messagetext.h"
#include "platform/wineprefix.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

const QString kExtension = QStringLiteral(".cmx");

QString failureLine(const QString &message)
{
    return QStringLiteral("kelvane-attach: ") + message;
}

QString nativeFolderOf(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).path());
}

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString newNameFor(const AttachJob &job, const QString &characterFile)
{
    return job.newName.value_or(proposeNewName(fileNameOf(characterFile), job.suffix));
}

// The name that makes the new file replace the character file: its name
// without ".cmx".
Result<QString> ownName(const QString &characterFile)
{
    const QString name = fileNameOf(characterFile);
    if (!name.endsWith(kExtension, Qt::CaseInsensitive) || name.size() == kExtension.size())
        return Failure{QStringLiteral("%1: --in-place replaces only files whose name ends in "
                                      "\".cmx\".")
                           .arg(shownName(characterFile))};
    return name.chopped(kExtension.size());
}

// The folder --out names: a Windows path is taken as the game sees it, inside
// the Wine prefix in use.
Result<QString> outputFolderOf(const QString &given)
{
#ifndef Q_OS_WIN
    if (isWindowsAbsolutePath(given)) {
        if (const std::optional<QString> mapped = prefixPathForWindowsPath(given))
            return *mapped;
        return Failure{QStringLiteral("--out %1: a Windows path, but the Wine prefix in use has "
                                      "no drive %2 (set WINEPREFIX to the prefix of the game).")
                           .arg(shownName(given), given.left(2).toLower())};
    }
#endif
    return QDir::toNativeSeparators(given);
}

// Why the mesh must not be attached to the character file: it holds it already.
std::optional<QString> duplicateOf(const AttachJob &job, const QString &character)
{
    if (job.allowDuplicate)
        return std::nullopt;
    // A file that cannot be read is reported by the composer.
    const Result<std::optional<Skin>> attached = alreadyAttached(character, job.meshFile);
    if (!attached.ok() || !attached.value())
        return std::nullopt;
    const Skin &skin = *attached.value();
    return QStringLiteral("%1: skipped; it already holds the mesh %2 on the bone %3. Give "
                          "--allow-duplicate to attach it again.")
        .arg(shownName(character), quotedBytes(skin.mesh), quotedBytes(skin.bone));
}

int composeToStdout(const AttachJob &job, ConsoleOutput &console)
{
    const QString &character = job.characterFiles.constFirst();
    if (const std::optional<QString> duplicate = duplicateOf(job, character)) {
        console.printError(failureLine(*duplicate));
        return kExitFailure;
    }
    const Result<QByteArray> composed =
        composeFromFiles(character, job.meshFile, newNameFor(job, character));
    if (!composed.ok()) {
        console.printError(failureLine(composed.error()));
        return kExitFailure;
    }
    if (!console.writeBytes(composed.value() + "\r\n")) {
        console.printError(
            failureLine(QStringLiteral("the composed file could not be written to stdout.")));
        return kExitFailure;
    }
    return kExitSuccess;
}

// Writes the new file for one character file; a failure is the message.
std::optional<QString> attachTo(const AttachJob &job, const QString &character,
                                const QString &outputFolder, BatchFiles &batch,
                                ConsoleOutput &console)
{
    const bool inPlace = job.mode == AttachJob::Mode::InPlace;
    const Result<QString> name = inPlace ? ownName(character) : newNameFor(job, character);
    if (!name.ok())
        return name.error();
    const QString folder = inPlace || !job.outputFolder ? nativeFolderOf(character) : outputFolder;
    const QString target = QFileInfo(outputFilePath(folder, name.value())).absoluteFilePath();
    if (const std::optional<QString> conflict =
            batch.conflict(character, target, inPlace || job.newName.has_value()))
        return conflict;
    if (const std::optional<QString> duplicate = duplicateOf(job, character))
        return duplicate;

    const Result<CreatedFile> written =
        CreateAttachedCmxFile(nativeFolderOf(character), fileNameOf(character),
                              nativeFolderOf(job.meshFile), fileNameOf(job.meshFile), name.value(),
                              folder, {job.keepBackup ? Backup::Keep : Backup::Skip});
    if (!written.ok())
        return written.error();
    batch.written(character, target);
    console.printLine(shownName(QDir::toNativeSeparators(written.value().path)));
    return std::nullopt;
}

} // namespace

int runAttachJob(const AttachJob &job, ConsoleOutput &console)
{
    if (job.mode == AttachJob::Mode::List)
        return listSkins(job.characterFiles, console);
    if (job.mode == AttachJob::Mode::Stdout)
        return composeToStdout(job, console);

    const Result<QString> outputFolder = outputFolderOf(job.outputFolder.value_or(QString()));
    if (!outputFolder.ok()) {
        console.printError(failureLine(outputFolder.error()));
        return kExitFailure;
    }
    BatchFiles batch(job.characterFiles, job.meshFile);
    int exitCode = kExitSuccess;
    for (const QString &character : job.characterFiles) {
        if (const std::optional<QString> failure =
                attachTo(job, character, outputFolder.value(), batch, console)) {
            console.printError(failureLine(*failure));
            exitCode = kExitFailure;
        }
    }
    return exitCode;
}

} // namespace kelvane
