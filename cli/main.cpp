#include "attachjob.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "version.h"

#include <cstdio>

using namespace kelvane;

namespace {

int usageError(const QString &message)
{
    std::fputs(
        qPrintable(
            QStringLiteral("kelvane-attach: %1\nTry 'kelvane-attach --help'.\n").arg(message)),
        stderr);
    return kExitUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvane-attach"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a new character file (.cmx) of The Sims holding every skin of a character\n"
        "file plus the mesh of a mesh file (.skn), attached to the bone the mesh names."));
    const QCommandLineOption nameOption(
        QStringLiteral("name"),
        QStringLiteral("Name of the new character file, without .cmx. Default: the proposal from "
                       "the character file's name with the suffix \"new\" (B001FAFit_01.cmx gives "
                       "B001FAFit_new)."),
        QStringLiteral("NAME"));
    const QCommandLineOption outOption(
        QStringLiteral("out"),
        QStringLiteral("Folder to write into. Default: the character file's own folder."),
        QStringLiteral("FOLDER"));
    const QCommandLineOption stdoutOption(
        QStringLiteral("stdout"),
        QStringLiteral("Write the new file's text to stdout instead of a file (one character file "
                       "only)."));
    parser.addOptions({nameOption, outOption, stdoutOption});
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("CHARACTER.cmx..."),
                                 QStringLiteral("One or more character files."));
    parser.addPositionalArgument(QStringLiteral("MESH.skn"),
                                 QStringLiteral("The mesh file to attach."));

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(kExitSuccess);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    QStringList files = parser.positionalArguments();
    if (files.size() < 2)
        return usageError(QStringLiteral("give one or more character files and then a mesh file."));

    AttachJob job;
    job.meshFile = files.takeLast();
    job.characterFiles = files;
    job.toStdout = parser.isSet(stdoutOption);
    if (parser.isSet(nameOption))
        job.newName = parser.value(nameOption);
    if (parser.isSet(outOption))
        job.outputFolder = parser.value(outOption);

    const bool several = job.characterFiles.size() > 1;
    if (several && job.newName)
        return usageError(QStringLiteral("--name can be used with one character file only."));
    if (several && job.toStdout)
        return usageError(QStringLiteral("--stdout can be used with one character file only."));
    if (job.toStdout && job.outputFolder)
        return usageError(QStringLiteral("--stdout writes no file; leave out --out."));

    return runAttachJob(job);
}
