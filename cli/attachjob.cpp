#include "cli/attachjob.h"

#include "base/messagetext.h"
#include "cli/consoleoutput.h"
#include "cli/gamesfound.h"
#include "cli/restorebackups.h"
#include "cli/skinlisting.h"
#include "compose/attach.h"
#include "compose/batchplan.h"
#include "formats/fileformats.h"
#include "inputs/archivepath.h"
#include "platform/gamefolders.h"
#include "platform/windowsfolder.h"
#include "preview/textureconversion.h"
#include "replace/backup.h"
#include "replace/replacelock.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kelvane {

namespace {

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
// without ".cmx" or ".cmx.bcf".
Result<QString> ownName(const QString &characterFile)
{
    if (archivePathOf(characterFile))
        return Failure{QStringLiteral("%1: --in-place cannot replace an entry of an archive, and "
                                      "nothing is ever written into one; leave out --in-place to "
                                      "write a new file into the game's folder of skins.")
                           .arg(shownName(characterFile))};
    const QString name = ownNameOf(fileNameOf(characterFile));
    if (name.isEmpty())
        return Failure{QStringLiteral("%1: --in-place replaces only files whose name ends in %2.")
                           .arg(shownName(characterFile), shownExtensionsOf(FileRole::Character))};
    return name;
}

// Why the mesh must not be attached to the character file: it holds it already.
std::optional<QString> duplicateOf(const AttachJob &job, const QString &character,
                                   const Composed &composed)
{
    if (job.allowDuplicate || !composed.alreadyHeld)
        return std::nullopt;
    return alreadyHeldText(character, composed.attached) +
           QStringLiteral(" Skipped; give --allow-duplicate to attach it again.");
}

int composeToStdout(const AttachJob &job, ConsoleOutput &console)
{
    const QString &character = job.characterFiles.constFirst();
    const Result<Composed> composed =
        composeFromFiles(character, job.meshFile, newNameFor(job, character));
    if (!composed.ok()) {
        console.printError(failureLine(composed.error()));
        return kExitFailure;
    }
    if (const std::optional<QString> duplicate = duplicateOf(job, character, composed.value())) {
        console.printError(failureLine(*duplicate));
        return kExitFailure;
    }
    if (!console.writeBytes(composed.value().bytes)) {
        console.printError(
            failureLine(QStringLiteral("the composed file could not be written to stdout.")));
        return kExitFailure;
    }
    return kExitSuccess;
}

// The folder a new file goes into unless --out says otherwise: the character
// file's own, or for an archive's entry the game's folder of loose skins.
QString defaultFolderFor(const QString &character)
{
    return proposedOutputFolder(nativeFolderOf(character));
}

// Where the old content of a replaced file went; nothing when it could not
// be named as a backup, which the notes of the replace say.
std::optional<QString> replacedNote(const CreatedFile &written, bool keepBackup)
{
    const QString file = shownName(QDir::toNativeSeparators(written.path));
    if (written.backupPath.isEmpty() && keepBackup)
        return std::nullopt;
    if (written.backupPath.isEmpty())
        return failureLine(
            QStringLiteral("note: the old content of %1 is not kept (--no-backup).").arg(file));
    return failureLine(QStringLiteral("note: the old content of %1 is kept as %2.")
                           .arg(file, shownName(QDir::toNativeSeparators(written.backupPath))));
}

// The findings left to tell; one that a copy would mend ends with the option
// that makes the copy.
QStringList findingsToTell(const GameCheck &check, Copies copies)
{
    QStringList texts = check.findings(copies);
    for (QString &text : texts) {
        const bool copyMends = std::any_of(
            check.found.cbegin(), check.found.cend(), [&text](const GameFinding &finding) {
                return finding.mendedBy == MendedBy::Copies && finding.text == text;
            });
        if (copyMends)
            text += QStringLiteral(" To copy it into the output folder, give --copy-mesh.");
    }
    return texts;
}

QString shownPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(path));
}

// Why the new file at outputPath, made from character, is skipped.
QString conflictText(const BatchFiles::Conflict &conflict, const QString &character,
                     const QString &outputPath)
{
    switch (conflict.kind) {
    case BatchFiles::Conflict::SameCharacter:
        return QStringLiteral("%1: skipped; it is the same file as %2, which this run has "
                              "already extended.")
            .arg(shownPath(character), shownPath(conflict.other));
    case BatchFiles::Conflict::SameOutput:
        return QStringLiteral("%1: skipped; its new file %2 was already written for %3 in this "
                              "run. Give the files separate runs with --name.")
            .arg(shownPath(character), shownPath(outputPath), shownPath(conflict.other));
    case BatchFiles::Conflict::ReplacesInput:
        return QStringLiteral("%1: skipped; its new file %2 would replace %3, which this run "
                              "reads. Choose another name with --name or --suffix.")
            .arg(shownPath(character), shownPath(outputPath), shownPath(conflict.other));
    case BatchFiles::Conflict::ReplacesItself:
        break;
    }
    return QStringLiteral("%1: skipped; its new file would replace it. Give --in-place to "
                          "replace it by its extended version.")
        .arg(shownPath(character));
}

// Settles what an interrupted replace of the file at path left, as every run
// naming a file does first, so that its old content is a backup to restore.
void printSettled(const QString &path, ConsoleOutput &console)
{
    for (const QString &settled : settleLeftoversOf(path))
        console.printError(QStringLiteral("kelvane-attach: note: ") + settled);
}

// Writes the new file for one character file; a failure is the message.
std::optional<QString> attachTo(const AttachJob &job, const QString &character,
                                const QString &outputFolder, BatchPlan &batch,
                                ConsoleOutput &console)
{
    const bool inPlace = job.mode == AttachJob::Mode::InPlace;
    // In place, the file replaced is the one a link leads to, named as the
    // file system names it (its long name on Windows), and so is the new file.
    const QString replaced = inPlace ? replacedFilePath(character) : character;
    const Result<QString> name = inPlace ? ownName(replaced) : newNameFor(job, character);
    if (!name.ok())
        return name.error();
    // The file replaced in place is locked before it is read, so that no
    // change made meanwhile is lost.
    std::optional<ReplaceLock> lock;
    if (inPlace && !replaced.isEmpty()) {
        lock.emplace(replaced);
        if (!lock->refusal().isEmpty())
            return lock->refusal();
    }
    printSettled(character, console);
    const QString folder = inPlace || !job.outputFolder ? defaultFolderFor(replaced) : outputFolder;
    const PlannedFile planned =
        batch.plan({character, name.value(), folder, inPlace || job.newName.has_value()});
    if (!planned.plan)
        return planned.fault;
    const AttachPlan &plan = *planned.plan;
    const QString target = QFileInfo(plan.outputPath).absoluteFilePath();
    if (!inPlace)
        printSettled(plan.outputPath, console);
    if (planned.conflict)
        return conflictText(*planned.conflict, character, target);
    if (const std::optional<QString> duplicate = duplicateOf(job, character, plan))
        return duplicate;

    const Copies copies = job.copyMesh ? Copies::Made : Copies::Offered;
    const QStringList findings = findingsToTell(plan.gameCheck, copies);
    if (job.strict && !findings.isEmpty())
        return QStringLiteral("%1: not written (--strict): %2")
            .arg(shownName(character), findings.join(QLatin1Char(' ')));
    for (const QString &finding : findings)
        console.printError(
            QStringLiteral("kelvane-attach: warning: %1: %2").arg(shownName(character), finding));

    const Result<CreatedFile> written =
        carryOut(plan, {copies, job.keepBackup ? Backup::Keep : Backup::Skip, texture256ColoursOf});
    if (!written.ok())
        return written.error();
    batch.claim(planned, written.value().copies);
    for (const QString &settled : written.value().settled)
        console.printError(QStringLiteral("kelvane-attach: note: ") + settled);
    console.printLine(shownName(QDir::toNativeSeparators(written.value().path)));
    if (const std::optional<QString> note = replacedNote(written.value(), job.keepBackup);
        plan.replacesFile && note)
        console.printError(*note);
    for (const QString &copied : written.value().copies.copied)
        console.printLine(shownName(QDir::toNativeSeparators(copied)));
    for (const QString &converted : written.value().copies.converted)
        console.printError(QStringLiteral("kelvane-attach: note: %1: copied converted to 256 "
                                          "colours; the file it was copied from is unchanged.")
                               .arg(shownName(QDir::toNativeSeparators(converted))));
    for (const QString &note : written.value().copies.notes)
        console.printError(QStringLiteral("kelvane-attach: warning: ") + note);
    return std::nullopt;
}

// Where the search looked, and how to point it at a prefix it does not know.
QString gameNotFoundText()
{
    QString text = QStringLiteral("no folder of The Sims found. Looked in:");
    for (const QString &place : gameSearchPlaces())
        text += QStringLiteral("\n  ") + shownName(place);
#ifndef Q_OS_WIN
    text += QStringLiteral("\nIf the game is in another Wine prefix, name its folder in "
                           "WINEPREFIX: WINEPREFIX=~/PREFIX kelvane-attach --find-game");
#endif
    return text;
}

// Succeeds when none is found too: finding none is an answer.
int printGameFolders(ConsoleOutput &console)
{
    QStringList notes;
    const QList<GameFolder> games = findGameFolders(&notes);
    for (const QString &note : notes)
        console.printError(QStringLiteral("kelvane-attach: note: ") + shownName(note));
    for (const GameFolder &game : games)
        console.printLine(shownName(game.folder));
    if (games.isEmpty())
        console.printError(failureLine(gameNotFoundText()));
    return kExitSuccess;
}

} // namespace

int runAttachJob(const AttachJob &job, ConsoleOutput &console)
{
    if (job.mode == AttachJob::Mode::List || job.mode == AttachJob::Mode::Stdout) {
        for (const QString &file : job.characterFiles)
            printSettled(file, console);
    }
    if (job.mode == AttachJob::Mode::List)
        return listSkins(job.characterFiles, console);
    if (job.mode == AttachJob::Mode::FindGame)
        return printGameFolders(console);
    if (job.mode == AttachJob::Mode::Restore || job.mode == AttachJob::Mode::GameOwn)
        return restoreBackups(job.characterFiles, console,
                              job.mode == AttachJob::Mode::GameOwn ? Restoring::GameOwn
                                                                   : Restoring::Newest);
    if (job.mode == AttachJob::Mode::Stdout)
        return composeToStdout(job, console);
    if (job.mode == AttachJob::Mode::Preview)
        return runPreviewJob(job.preview, console);
    if (job.mode == AttachJob::Mode::CheckFolder)
        return runFolderJob(job.folderCheck, console);

    Result<QString> outputFolder = QString();
    if (job.outputFolder) {
        outputFolder = typedOutputFolder(*job.outputFolder, RelativeFolder::FromCurrentFolder);
        if (!outputFolder.ok()) {
            console.printError(failureLine(QStringLiteral("--out ") + outputFolder.error()));
            return kExitFailure;
        }
    }
    GamesFound games;
    BatchPlan batch(
        job.characterFiles, job.meshFile,
        [&games](const QString &folder) { return games.forOutputFolder(folder); },
        texture256ColoursOf);
    int exitCode = kExitSuccess;
    for (const QString &given : job.characterFiles) {
        // An archive's entry is named as the archive spells it, so that the
        // proposed name follows the game's.
        const QString character = pathAsStored(given);
        if (const std::optional<QString> failure =
                attachTo(job, character, outputFolder.value(), batch, console)) {
            console.printError(failureLine(*failure));
            exitCode = kExitFailure;
        }
    }
    return exitCode;
}

} // namespace kelvane
