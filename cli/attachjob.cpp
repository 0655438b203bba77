#include "cli/attachjob.h"

#include "cli/consoleoutput.h"
#include "compose/cmxfile.h"
#include "compose/newname.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

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
    return job.newName.value_or(proposeNewName(fileNameOf(characterFile), kDefaultSuffix));
}

int composeToStdout(const AttachJob &job, ConsoleOutput &console)
{
    const QString &character = job.characterFiles.constFirst();
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

} // namespace

int runAttachJob(const AttachJob &job, ConsoleOutput &console)
{
    if (job.toStdout)
        return composeToStdout(job, console);

    const QString meshFolder = nativeFolderOf(job.meshFile);
    const QString meshName = fileNameOf(job.meshFile);
    // Outputs already written in this run, so that two character files proposing
    // the same name cannot overwrite each other's result.
    QHash<QString, QString> writtenFor;
    int exitCode = kExitSuccess;
    for (const QString &character : job.characterFiles) {
        const QString name = newNameFor(job, character);
        const QString folder = job.outputFolder ? QDir::toNativeSeparators(*job.outputFolder)
                                                : nativeFolderOf(character);
        const QString target = QFileInfo(outputFilePath(folder, name)).absoluteFilePath();
        if (const auto earlier = writtenFor.constFind(target); earlier != writtenFor.cend()) {
            console.printError(failureLine(
                QStringLiteral("%1: skipped; its new file %2 was already written for %3 in this "
                               "run. Give the files separate runs with --name.")
                    .arg(character, QDir::toNativeSeparators(target), *earlier)));
            exitCode = kExitFailure;
            continue;
        }

        const Result<CreatedFile> written = CreateAttachedCmxFile(
            nativeFolderOf(character), fileNameOf(character), meshFolder, meshName, name, folder);
        if (!written.ok()) {
            console.printError(failureLine(written.error()));
            exitCode = kExitFailure;
            continue;
        }
        writtenFor.insert(target, character);
        console.printLine(QDir::toNativeSeparators(written.value().path));
    }
    return exitCode;
}

} // namespace kelvane
