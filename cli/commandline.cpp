#include "cli/commandline.h"

#include "base/messagetext.h"
#include "cli/attachoptions.h"
#include "cli/consoleoutput.h"
#include "cli/filepatterns.h"
#include "platform/windowsfolder.h"

#include "version.h"

#include <QCommandLineParser>

#include <utility>

namespace kelvane {

namespace {

const QString kProgram = QStringLiteral("kelvane-attach");

Failure<QString> usageError(const QString &message)
{
    return {message};
}

const QString kDashHint = QStringLiteral("to name a file that begins with '-', put -- before it.");

// The parser's complaint; an unknown option is named as typed, since it may be
// a file whose name begins with "-".
QString parseErrorOf(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1StringView("--"))
            break;
        if (argument.size() < 2 || !argument.startsWith(QLatin1Char('-')))
            continue;
        const qsizetype dashes = argument.startsWith(QLatin1StringView("--")) ? 2 : 1;
        if (unknown.contains(argument.mid(dashes).section(QLatin1Char('='), 0, 0)))
            return QStringLiteral("%1: no such option; %2").arg(shownName(argument), kDashHint);
    }
    return parser.errorText();
}

// The option as it was typed: "-v" or "--version".
QString spelledAsGiven(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    for (const QString &name : parser.optionNames()) {
        if (option.names().contains(name))
            return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    return QStringLiteral("--") + option.names().constLast();
}

} // namespace

Result<AttachRequest> parseAttachJob(const QStringList &arguments)
{
    const AttachOptions options;
    QCommandLineParser parser;
    parser.addOptions(options.all());
    // "-hat.skn" is one unknown option, not -h followed by others.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments))
        return usageError(parseErrorOf(parser, arguments));
    // Files beside them were meant to be worked on, which these never do.
    for (const auto &[info, what] : {std::pair{options.help, QStringLiteral("help")},
                                     std::pair{options.version, QStringLiteral("version")}}) {
        if (parser.isSet(info) && !parser.positionalArguments().isEmpty())
            return usageError(QStringLiteral("%1 only prints the %2 and takes no files; %3")
                                  .arg(spelledAsGiven(parser, info), what, kDashHint));
    }
    // Printed here rather than by the parser, which would show a message box
    // on Windows when there is no console.
    if (parser.isSet(options.help))
        return AttachRequest{InfoText{attachHelpText(options)}};
    if (parser.isSet(options.version))
        return AttachRequest{
            InfoText{kProgram + QLatin1Char(' ') + QStringLiteral(KELVANE_VERSION)}};

    AttachJob job;
    QStringList inputs;
    for (const QString &typed : parser.positionalArguments()) {
        const Result<QString> input = typedInputPath(typed);
        if (!input.ok())
            return usageError(input.error());
        inputs.append(input.value());
    }
#ifdef Q_OS_WIN
    // Windows hands "*" and "?" over as typed: its programs expand their own.
    const FolderLister listFolder = filesInFolder;
#else
    const FolderLister listFolder;
#endif
    const Result<QStringList> files = expandFilePatterns(inputs, listFolder);
    if (!files.ok())
        return usageError(files.error());
    job.characterFiles = files.value();
    if (parser.isSet(options.findGame)) {
        for (const QCommandLineOption &other : options.all()) {
            if (other.names() != options.findGame.names() && parser.isSet(other))
                return usageError(QStringLiteral("--find-game only looks for the game; leave out "
                                                 "--%1.")
                                      .arg(other.names().constLast()));
        }
        if (!job.characterFiles.isEmpty())
            return usageError(QStringLiteral("--find-game takes no files."));
        job.mode = AttachJob::Mode::FindGame;
        return AttachRequest{std::move(job)};
    }
    if (std::optional<Result<FolderJob>> folderCheck =
            folderJobOf(parser, options, job.characterFiles)) {
        if (!folderCheck->ok())
            return usageError(folderCheck->error());
        job.mode = AttachJob::Mode::CheckFolder;
        job.folderCheck = std::move(*folderCheck).value();
        return AttachRequest{std::move(job)};
    }
    if (parser.isSet(options.list)) {
        for (const QCommandLineOption &other : options.all()) {
            if (other.names() != options.list.names() && parser.isSet(other))
                return usageError(QStringLiteral("--list prints; leave out --%1.")
                                      .arg(other.names().constLast()));
        }
        if (job.characterFiles.isEmpty())
            return usageError(QStringLiteral("give one or more character files to list."));
        job.mode = AttachJob::Mode::List;
        return AttachRequest{std::move(job)};
    }
    for (const QCommandLineOption &restoring : {options.restore, options.restoreGame}) {
        if (!parser.isSet(restoring))
            continue;
        const QString given = QStringLiteral("--") + restoring.names().constLast();
        for (const QCommandLineOption &other : options.all()) {
            if (other.names() != restoring.names() && parser.isSet(other))
                return usageError(QStringLiteral("%1 only puts backups back; leave out --%2.")
                                      .arg(given, other.names().constLast()));
        }
        if (job.characterFiles.isEmpty())
            return usageError(QStringLiteral("give one or more character files or backups to "
                                             "restore."));
        job.mode = restoring.names() == options.restore.names() ? AttachJob::Mode::Restore
                                                                : AttachJob::Mode::GameOwn;
        return AttachRequest{std::move(job)};
    }

    if (std::optional<Result<PreviewJob>> preview =
            previewJobOf(parser, options, job.characterFiles)) {
        if (!preview->ok())
            return usageError(preview->error());
        job.mode = AttachJob::Mode::Preview;
        job.preview = std::move(*preview).value();
        return AttachRequest{std::move(job)};
    }

    if (job.characterFiles.size() < 2)
        return usageError(QStringLiteral("give one or more character files and then a mesh file."));
    job.meshFile = job.characterFiles.takeLast();
    if (parser.isSet(options.name))
        job.newName = parser.value(options.name);
    if (parser.isSet(options.out))
        job.outputFolder = parser.value(options.out);
    if (parser.isSet(options.suffix))
        job.suffix = parser.value(options.suffix);
    job.keepBackup = !parser.isSet(options.noBackup);
    job.allowDuplicate = parser.isSet(options.allowDuplicate);
    job.copyMesh = parser.isSet(options.copyMesh);
    job.strict = parser.isSet(options.strict);
    const bool toStdout = parser.isSet(options.toStdout);
    const bool inPlace = parser.isSet(options.inPlace);

    const bool several = job.characterFiles.size() > 1;
    if (several && job.newName)
        return usageError(QStringLiteral("--name can be used with one character file only."));
    if (job.newName && parser.isSet(options.suffix))
        return usageError(QStringLiteral("--suffix only changes proposed names; leave out --name "
                                         "or --suffix."));
    if (inPlace && (job.newName || job.outputFolder || toStdout || parser.isSet(options.suffix)))
        return usageError(QStringLiteral("--in-place keeps each file's name and folder; leave out "
                                         "--name, --suffix, --out and --stdout."));
    if (toStdout && several)
        return usageError(QStringLiteral("--stdout can be used with one character file only."));
    if (toStdout && (job.outputFolder || !job.keepBackup || job.copyMesh || job.strict))
        return usageError(QStringLiteral("--stdout writes no file; leave out --out, --no-backup, "
                                         "--copy-mesh and --strict."));
    if (inPlace)
        job.mode = AttachJob::Mode::InPlace;
    else if (toStdout)
        job.mode = AttachJob::Mode::Stdout;
    return AttachRequest{std::move(job)};
}

namespace {

int runRequest(const QStringList &arguments, ConsoleOutput &console)
{
    const Result<AttachRequest> request = parseAttachJob(arguments);
    if (!request.ok()) {
        console.printError(
            QStringLiteral("%1: %2\nTry '%1 --help'.").arg(kProgram, shownName(request.error())));
        return kExitUsage;
    }
    if (const auto *info = std::get_if<InfoText>(&request.value())) {
        console.printLine(info->text);
        return kExitSuccess;
    }
    return runAttachJob(std::get<AttachJob>(request.value()), console);
}

} // namespace

int runAttachCommand(const QStringList &arguments, ConsoleOutput &console)
{
    const int exitCode = runRequest(arguments, console);
    // What was printed is part of the result: a listing, or the paths written.
    if (const std::optional<QString> lost = console.lineLost()) {
        console.printError(
            QStringLiteral("%1: standard output could not be written (%2).").arg(kProgram, *lost));
        return exitCode == kExitSuccess ? kExitFailure : exitCode;
    }
    return exitCode;
}

} // namespace kelvane
