#include "attachjob.h"

#include "cmxfile.h"
#include "newname.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace kelvane {

namespace {

void printLine(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

void reportFailure(const QString &message)
{
    printLine(stderr, QStringLiteral("kelvane-attach: ") + message);
}

bool writeToStdout(const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) ==
               size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
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

int composeToStdout(const AttachJob &job)
{
    const QString &character = job.characterFiles.constFirst();
    const ComposedFile composed =
        composeFromFiles(character, job.meshFile, newNameFor(job, character));
    if (!composed.ok()) {
        reportFailure(composed.error);
        return kExitFailure;
    }
    if (!writeToStdout(composed.text + "\r\n")) {
        reportFailure(QStringLiteral("the composed file could not be written to stdout."));
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

int runAttachJob(const AttachJob &job)
{
    if (job.toStdout)
        return composeToStdout(job);

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
            reportFailure(QStringLiteral("%1: skipped; its new file %2 was already written for %3 "
                                         "in this run. Give the files separate runs with --name.")
                              .arg(character, QDir::toNativeSeparators(target), *earlier));
            exitCode = kExitFailure;
            continue;
        }

        const CreateResult result = CreateAttachedCmxFile(
            nativeFolderOf(character), fileNameOf(character), meshFolder, meshName, name, folder);
        if (!result.ok()) {
            reportFailure(result.error);
            exitCode = kExitFailure;
            continue;
        }
        writtenFor.insert(target, character);
        printLine(stdout, QDir::toNativeSeparators(result.outputPath));
    }
    return exitCode;
}

} // namespace kelvane
