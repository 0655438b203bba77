#include "cli/folderjob.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "cli/attachjob.h"
#include "cli/attachoptions.h"
#include "cli/consoleoutput.h"
#include "foldercheck/foldercheck.h"
#include "foldercheck/foldermends.h"
#include "foldercheck/renumber.h"
#include "game/gamelayout.h"
#include "platform/gamefolders.h"
#include "platform/windowsfolder.h"
#include "preview/textureconversion.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

const QString kProgram = QStringLiteral("kelvane-attach: ");

QString shownPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(path));
}

QString findingLine(const Finding &finding)
{
    QString line = shownPath(finding.path) + QStringLiteral(": ") + finding.text;
    if (finding.mendable())
        line += QStringLiteral(" Mend: ") + finding.mend.text;
    else if (!finding.mend.text.isEmpty())
        line += QStringLiteral(" No mend: ") + finding.mend.text;
    return line;
}

// The character file a --renumber names: a path, or a name in a folder checked.
QString characterNamed(const QString &given, const QList<FolderReport> &reports)
{
    if (fileKindOf(given) == FileKind::Regular)
        return given;
    for (const FolderReport &report : reports) {
        const QString found = entryNamedIn(report.folder, given, QDir::Files);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

// The report of the folder holding path, whose used IDs a renumbering takes;
// none for a file outside the folders checked.
FolderReport *reportHolding(const QString &path, QList<FolderReport> &reports)
{
    const QString folder = fileIdentity(QFileInfo(path).absolutePath());
    for (FolderReport &report : reports) {
        if (fileIdentity(report.folder) == folder)
            return &report;
    }
    return nullptr;
}

} // namespace

std::optional<Result<FolderJob>> folderJobOf(const QCommandLineParser &parser,
                                             const AttachOptions &options, const QStringList &files)
{
    const bool checking = parser.isSet(options.checkFolder);
    if (!checking && !parser.isSet(options.fix) && !parser.isSet(options.renumber))
        return std::nullopt;
    if (!checking)
        return Result<FolderJob>(
            Failure{QStringLiteral("--fix and --renumber go with --check-folder.")});
    const QList<QCommandLineOption> own{options.checkFolder, options.fix, options.renumber};
    for (const QCommandLineOption &other : options.all()) {
        const bool isOwn = std::any_of(own.cbegin(), own.cend(), [&other](const auto &option) {
            return option.names() == other.names();
        });
        if (!isOwn && parser.isSet(other))
            return Result<FolderJob>(
                Failure{QStringLiteral("--check-folder checks folders; leave out --%1.")
                            .arg(other.names().constLast())});
    }
    if (files.isEmpty())
        return Result<FolderJob>(Failure{QStringLiteral("give one or more folders to check.")});
    FolderJob job;
    for (const QString &folder : files) {
        if (fileKindOf(folder) != FileKind::Folder)
            return Result<FolderJob>(
                Failure{QStringLiteral("%1: no such folder.").arg(shownPath(folder))});
        job.folders.append(folder);
    }
    job.fix = parser.isSet(options.fix);
    for (const QString &typed : parser.values(options.renumber)) {
        const Result<QString> character = typedInputPath(typed);
        if (!character.ok())
            return Result<FolderJob>(Failure{character.error()});
        job.renumber.append(character.value());
    }
    return Result<FolderJob>(std::move(job));
}

int runFolderJob(const FolderJob &job, ConsoleOutput &console)
{
    std::optional<QStringList> gamesFound;
    QList<FolderReport> reports;
    qsizetype checked = 0;
    qsizetype found = 0;
    qsizetype mendable = 0;
    for (const QString &folder : job.folders) {
        FolderCheckRequest request{folder, {}, {}, {}, {}};
        if (gameFolderHolding(folder).isEmpty()) {
            if (!gamesFound) {
                gamesFound.emplace();
                for (const GameFolder &game : findGameFolders())
                    gamesFound->append(game.folder);
            }
            request.gameFolders = *gamesFound;
        }
        reports.append(checkFolder(request));
        const FolderReport &report = reports.constLast();
        for (const Finding &finding : report.findings)
            console.printLine(findingLine(finding));
        checked += report.filesChecked;
        found += report.findings.size();
        mendable += report.mendableByDefault();
    }
    int exitCode = found > 0 ? kExitFailure : kExitSuccess;
    if (job.fix) {
        for (FolderReport &report : reports) {
            QList<Finding> mends;
            for (const Finding &finding : std::as_const(report.findings)) {
                if (finding.mendedByDefault())
                    mends.append(finding);
            }
            for (const MendOutcome &outcome : applyMends(mends, report, texture256ColoursOf)) {
                for (const QString &line : outcome.lines)
                    console.printLine(shownPath(outcome.path) + QStringLiteral(": ") + line);
            }
        }
    }
    for (const QString &given : job.renumber) {
        const QString path = characterNamed(given, reports);
        FolderReport *report = path.isEmpty() ? nullptr : reportHolding(path, reports);
        if (!report) {
            console.printError(kProgram + QStringLiteral("%1: no such character file in the "
                                                         "folders checked.")
                                              .arg(shownPath(given)));
            exitCode = kExitFailure;
            continue;
        }
        const Finding renumbering{
            FindingKind::SharedPrefix, path, {}, {MendKind::Renumber, {}, {}, {}}};
        const MendOutcome outcome = applyMend(renumbering, *report, {});
        for (const QString &line : outcome.lines)
            console.printLine(shownPath(path) + QStringLiteral(": ") + line);
        if (!outcome.done)
            exitCode = kExitFailure;
    }
    console.printLine(QStringLiteral("%1 files checked, %2 findings, %3 that --fix would mend.")
                          .arg(checked)
                          .arg(found)
                          .arg(mendable));
    return exitCode;
}

} // namespace kelvane
