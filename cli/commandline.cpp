#include "cli/commandline.h"

#include "cli/consoleoutput.h"

#include "version.h"

#include <QCommandLineParser>

namespace kelvane {

namespace {

const QString kProgram = QStringLiteral("kelvane-attach");

struct Options {
    QCommandLineOption name{
        QStringLiteral("name"),
        QStringLiteral("Name of the new character file, without .cmx. Default: the proposal from "
                       "the character file's name with the suffix \"new\" (B001FAFit_01.cmx gives "
                       "B001FAFit_new)."),
        QStringLiteral("NAME")};
    QCommandLineOption out{
        QStringLiteral("out"),
        QStringLiteral("Folder to write into. Default: the character file's own folder."),
        QStringLiteral("FOLDER")};
    QCommandLineOption toStdout{
        QStringLiteral("stdout"),
        QStringLiteral("Write the new file's text to stdout instead of a file (one character file "
                       "only).")};
};

void describe(QCommandLineParser &parser, const Options &options)
{
    parser.setApplicationDescription(QStringLiteral(
        "Writes a new character file (.cmx) of The Sims holding every skin of a character\n"
        "file plus the mesh of a mesh file (.skn), attached to the bone the mesh names."));
    parser.addOptions({options.name, options.out, options.toStdout});
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("CHARACTER.cmx..."),
                                 QStringLiteral("One or more character files."));
    parser.addPositionalArgument(QStringLiteral("MESH.skn"),
                                 QStringLiteral("The mesh file to attach."));
}

Failure<QString> usageError(const QString &message)
{
    return {message};
}

QString withoutFinalLineEnd(const QString &text)
{
    return text.endsWith(QLatin1Char('\n')) ? text.chopped(1) : text;
}

} // namespace

Result<AttachRequest> parseAttachJob(const QStringList &arguments)
{
    const Options options;
    QCommandLineParser parser;
    describe(parser, options);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    // Printed here rather than by the parser, which would show a message box
    // on Windows when there is no console.
    if (parser.isSet(QStringLiteral("help")))
        return AttachRequest{InfoText{withoutFinalLineEnd(parser.helpText())}};
    if (parser.isSet(QStringLiteral("version")))
        return AttachRequest{
            InfoText{kProgram + QLatin1Char(' ') + QStringLiteral(KELVANE_VERSION)}};

    QStringList files = parser.positionalArguments();
    if (files.size() < 2)
        return usageError(QStringLiteral("give one or more character files and then a mesh file."));

    AttachJob job;
    job.meshFile = files.takeLast();
    job.characterFiles = files;
    job.toStdout = parser.isSet(options.toStdout);
    if (parser.isSet(options.name))
        job.newName = parser.value(options.name);
    if (parser.isSet(options.out))
        job.outputFolder = parser.value(options.out);

    const bool several = job.characterFiles.size() > 1;
    if (several && job.newName)
        return usageError(QStringLiteral("--name can be used with one character file only."));
    if (several && job.toStdout)
        return usageError(QStringLiteral("--stdout can be used with one character file only."));
    if (job.toStdout && job.outputFolder)
        return usageError(QStringLiteral("--stdout writes no file; leave out --out."));
    return AttachRequest{std::move(job)};
}

int runAttachCommand(const QStringList &arguments, ConsoleOutput &console)
{
    const Result<AttachRequest> request = parseAttachJob(arguments);
    if (!request.ok()) {
        console.printError(
            QStringLiteral("%1: %2\nTry '%1 --help'.").arg(kProgram, request.error()));
        return kExitUsage;
    }
    if (const auto *info = std::get_if<InfoText>(&request.value())) {
        console.printLine(info->text);
        return kExitSuccess;
    }
    return runAttachJob(std::get<AttachJob>(request.value()), console);
}

} // namespace kelvane
