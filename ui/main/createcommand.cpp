#include "ui/main/createcommand.h"

#include "base/messagetext.h"
#include "compose/batchplan.h"
#include "compose/newname.h"
#include "controls/messagebox.h"
#include "inputs/inputfiles.h"
#include "platform/windowsfolder.h"
#include "preview/textureconversion.h"
#include "replace/backup.h"
#include "ui/main/busywork.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

// What the window says while it works, when that takes a while.
const QString kChecking = QStringLiteral("Checking what the game needs\u2026");
const QString kCreating = QStringLiteral("Copying for the game and creating\u2026");

void showError(QWidget *window, const QString &text)
{
    showMessage(window, {text, MessageStyle::Exclamation, QStringLiteral("Error")});
}

bool userSaysYes(QWidget *window, const QString &title, const QString &text)
{
    return showMessage(window, yesNoQuestion(title, text)) == MessageButton::Yes;
}

// Asks before the mesh goes a second time onto a character file that holds it.
bool mayAttachAgain(QWidget *window, const QString &characterFileName, const Skin &mesh)
{
    return userSaysYes(window, QStringLiteral("Already Attached"),
                       alreadyHeldText(characterFileName, mesh) +
                           QStringLiteral("\n\nAttach it again?"));
}

// Asks before an existing file is replaced, naming where its old content goes.
bool mayReplace(QWidget *window, const QString &outputPath, const QString &backupPath)
{
    const QFileInfo output(outputPath);
    return userSaysYes(window, QStringLiteral("File Exists"),
                       QStringLiteral("%1 already exists in %2.\n\n"
                                      "Replace it? Its old content will be kept as %3.")
                           .arg(shownName(output.fileName()),
                                shownName(QDir::toNativeSeparators(output.absolutePath())),
                                shownBackupName(backupPath, outputPath)));
}

// A copy as the question names it: by its name, saying what it replaces and
// where that is kept, and whether it is converted.
QString copyDescription(const GameFileCopy &copy)
{
    QString text = shownName(QFileInfo(copy.to).fileName());
    if (copy.converted)
        text += QStringLiteral(" (converted to 256 colours)");
    if (copy.replaces)
        text += QStringLiteral(" (replacing %1, kept as %2)")
                    .arg(shownName(QDir::toNativeSeparators(copy.to)),
                         shownBackupName(backupPathFor(copy.to), copy.to));
    return text;
}

// What the question says first: that the new files take the place of the
// game's own characters when that is all there is to say.
QString questionHeading(const BatchQuestions &questions)
{
    if (!questions.onlyPlacesTaken)
        return QStringLiteral("The game may not show the attached mesh as it should:");
    return questions.placesTaken.size() == 1
               ? QStringLiteral("%1 takes the place of the game's own character:")
                     .arg(shownName(QFileInfo(questions.placesTaken[0]).fileName()))
               : QStringLiteral("These new files take the place of the game's own characters:");
}

// Asks, when the game would not find what the mesh needs, whether to copy the
// mesh and its texture first, to create the file as it is, or to do nothing.
std::optional<Copies> mayCreateDespite(QWidget *window, const BatchQuestions &questions,
                                       bool several)
{
    const GameCheck &check = questions.gameCheck;
    const QStringList findings = check.findings(Copies::Offered);
    if (findings.isEmpty())
        return Copies::Offered;
    QString text = questionHeading(questions) + QStringLiteral("\n\n");
    for (const QString &finding : findings)
        text += QStringLiteral("\u2022 ") + finding + QStringLiteral("\n\n");
    QList<MessageButton> buttons = {MessageButton::CreateOnly, MessageButton::Cancel};
    // Copying is what a downloaded mesh usually needs, so Enter does it;
    // without copies nothing is done unless asked for.
    MessageButton byDefault = MessageButton::Cancel;
    if (!check.copies.isEmpty()) {
        QStringList names;
        for (const GameFileCopy &copy : check.copies)
            names.append(copyDescription(copy));
        text += (several ? QStringLiteral("Copy %1 into the folder of the new files before "
                                          "creating them?")
                         : QStringLiteral("Copy %1 into the folder of the new file before "
                                          "creating it?"))
                    .arg(names.join(QStringLiteral(" and ")));
        buttons.prepend(MessageButton::CopyAndCreate);
        byDefault = MessageButton::CopyAndCreate;
    } else {
        text += several ? QStringLiteral("Create the files anyway?")
                        : QStringLiteral("Create the file anyway?");
        buttons.first() = MessageButton::CreateAnyway;
    }
    switch (showMessage(window, {text, MessageStyle::Exclamation,
                                 QStringLiteral("Check Before Creating"), buttons, byDefault})) {
    case MessageButton::CopyAndCreate:
        return Copies::MadeReplacing;
    case MessageButton::CreateOnly:
    case MessageButton::CreateAnyway:
        return Copies::Offered;
    default:
        return std::nullopt;
    }
}

} // namespace

QString createdMessage(const CreatedFile &created)
{
    QString text = QFileInfo(created.path).fileName() + QStringLiteral(" has been created");
    if (!created.backupPath.isEmpty())
        text += QStringLiteral("\nIts previous content is kept as %1.")
                    .arg(shownBackupName(created.backupPath, created.path));
    if (!created.copies.copied.isEmpty()) {
        QStringList names;
        for (const QString &copied : created.copies.copied)
            names.append(shownName(QFileInfo(copied).fileName()));
        text += QStringLiteral("\n\nCopied beside it for the game: %1.")
                    .arg(names.join(QStringLiteral(", ")));
    }
    if (!created.copies.converted.isEmpty()) {
        QStringList names;
        for (const QString &converted : created.copies.converted)
            names.append(shownName(QFileInfo(converted).fileName()));
        text += QStringLiteral("\n\nConverted to 256 colours as copied: %1; the files copied from "
                               "are unchanged.")
                    .arg(names.join(QStringLiteral(", ")));
    }
    for (const QString &note : created.copies.replaced + created.copies.notes + created.settled)
        text += QStringLiteral("\n\n") + note;
    return text;
}

namespace {

QString fileNameOf(const QString &path)
{
    return shownName(QFileInfo(path).fileName());
}

// Why the new file at output, made from character, is not written.
QString conflictText(const BatchFiles::Conflict &conflict, const QString &character,
                     const QString &output)
{
    switch (conflict.kind) {
    case BatchFiles::Conflict::SameOutput:
        return QStringLiteral("%1 and %2 would both be written as %3; choose files whose names "
                              "differ before their first _.")
            .arg(fileNameOf(conflict.other), fileNameOf(character), fileNameOf(output));
    case BatchFiles::Conflict::SameCharacter:
        return QStringLiteral("%1 is the same file as %2; select it once.")
            .arg(fileNameOf(character), fileNameOf(conflict.other));
    case BatchFiles::Conflict::ReplacesInput:
    case BatchFiles::Conflict::ReplacesItself:
        break;
    }
    return QStringLiteral("The new file of %1, %2, would replace %3, which is read to make the "
                          "new files; choose another suffix.")
        .arg(fileNameOf(character), shownName(QDir::toNativeSeparators(output)),
             shownName(QDir::toNativeSeparators(conflict.other)));
}

// The plans for every character file, or nothing once a fault is shown: an
// input that cannot be used, a name of several files that does not follow
// "*_SUFFIX", or two files that would make one new file.
std::optional<QList<AttachPlan>> prepareAll(QWidget *window, const CreateInputs &in,
                                            const QString &folder)
{
    const bool several = in.skinFileNames.size() > 1;
    if (several && !in.newName.startsWith(kEachName)) {
        showError(window, QStringLiteral("With several character files selected, the name is "
                                         "%1SUFFIX: each new file is named after its character "
                                         "file, followed by the suffix.")
                              .arg(kEachName));
        return std::nullopt;
    }
    QStringList characters;
    QList<BatchFile> files;
    for (const QString &file : in.skinFileNames) {
        characters.append(inputFilePath(in.skinDirectory, file));
        const QString name =
            several ? proposeNewName(file, in.newName.mid(kEachName.size())) : in.newName;
        files.append({characters.last(), name, folder});
    }
    const QString mesh = inputFilePath(in.meshDirectory, in.meshFileName);
    // Checking may convert the mesh's texture, and wait for the game search
    // still running, which takes a while. No new file replaces another's
    // input, nor one written before it.
    const QList<PlannedFile> planned = whileBusy(window, kChecking, [&] {
        const auto games = [&in](const QString &) {
            return in.gameFolders ? in.gameFolders() : QStringList();
        };
        return BatchPlan(characters, mesh, games, texture256ColoursOf).planAll(files);
    });
    QList<AttachPlan> plans;
    QStringList faults;
    for (const PlannedFile &file : planned) {
        if (!file.plan)
            faults.append(file.fault);
        else if (file.conflict)
            faults.append(conflictText(*file.conflict, file.characterPath, file.plan->outputPath));
        else
            plans.append(*file.plan);
    }
    if (!faults.isEmpty()) {
        showError(window, faults.join(QStringLiteral("\n\n")));
        return std::nullopt;
    }
    return plans;
}

QString listed(const QStringList &names)
{
    return QStringLiteral("\u2022 ") + names.join(QStringLiteral("\n\u2022 "));
}

// Asks once for every file that holds the mesh; No leaves those files out.
void attachAgainAsked(QWidget *window, QList<AttachPlan> &plans)
{
    const QList<qsizetype> holding = batchQuestions(plans).holding;
    if (holding.isEmpty())
        return;
    if (plans.size() == 1) {
        if (!mayAttachAgain(window, QFileInfo(plans.first().characterPath).fileName(),
                            plans.first().attached))
            plans.clear();
        return;
    }
    QStringList names;
    for (const qsizetype i : holding)
        names.append(shownName(QFileInfo(plans[i].characterPath).fileName()));
    const Skin &mesh = plans.first().attached;
    const QString text =
        QStringLiteral("These character files already hold the mesh %1 on the bone %2:\n\n%3\n\n"
                       "Attach it again? No leaves them out.")
            .arg(quotedBytes(mesh.mesh), quotedBytes(mesh.bone), listed(names));
    if (!userSaysYes(window, QStringLiteral("Already Attached"), text))
        plans.removeIf([](const AttachPlan &plan) { return plan.alreadyHeld; });
}

// Asks once before every existing file is replaced, naming where each old
// content goes; refuses as the plan does when one has no free backup name.
bool replaceAsked(QWidget *window, const QList<AttachPlan> &plans, const BatchQuestions &questions)
{
    if (!questions.refusal.isEmpty()) {
        showError(window, questions.refusal);
        return false;
    }
    if (questions.replacing.isEmpty())
        return true;
    if (plans.size() == 1)
        return mayReplace(window, plans.first().outputPath, plans.first().backupPath);
    QStringList replaced;
    for (const qsizetype i : questions.replacing)
        replaced.append(QStringLiteral("%1 (kept as %2)")
                            .arg(shownName(QFileInfo(plans[i].outputPath).fileName()),
                                 shownBackupName(plans[i].backupPath, plans[i].outputPath)));
    const QString folder = QFileInfo(plans.first().outputPath).absolutePath();
    return userSaysYes(window, QStringLiteral("File Exists"),
                       QStringLiteral("These files already exist in %1:\n\n%2\n\nReplace them? "
                                      "The old content of each will be kept as named.")
                           .arg(shownName(QDir::toNativeSeparators(folder)), listed(replaced)));
}

} // namespace

QList<CreatedFile> runCreateCommand(QWidget *window, const CreateInputs &in)
{
    const Result<QString> folder = typedOutputFolder(in.outputFolder, RelativeFolder::Refused);
    if (!folder.ok()) {
        showError(window, folder.error());
        return {};
    }
    // Faulty inputs are reported before any question.
    std::optional<QList<AttachPlan>> plans = prepareAll(window, in, folder.value());
    if (!plans)
        return {};
    // What an interrupted replace left becomes a backup first, even when
    // nothing is written now; the backup names planned change with it.
    QStringList settled;
    for (const AttachPlan &plan : std::as_const(*plans))
        settled += settleLeftoversOf(plan.characterPath) + settleLeftoversOf(plan.outputPath);
    if (!settled.isEmpty())
        plans = prepareAll(window, in, folder.value());
    if (!plans)
        return {};
    attachAgainAsked(window, *plans);
    if (plans->isEmpty())
        return {};
    // The game check and the copies are the batch's, made once.
    const BatchQuestions questions = batchQuestions(*plans);
    const std::optional<Copies> copies = mayCreateDespite(window, questions, plans->size() > 1);
    if (!copies || !replaceAsked(window, *plans, questions))
        return {};

    // A question may stand open for minutes: a character file replaced by
    // its extended version that changed meanwhile is read and asked about again.
    for (const AttachPlan &plan : std::as_const(*plans)) {
        if (changedSinceRead(plan)) {
            showMessage(window, {QStringLiteral("%1 has changed since it was read, so it is read "
                                                "again before it is replaced.")
                                     .arg(fileNameOf(plan.characterPath)),
                                 MessageStyle::Exclamation, QStringLiteral("File Changed")});
            return runCreateCommand(window, in);
        }
    }
    QList<CreatedFile> createdFiles;
    for (const AttachPlan &plan : std::as_const(*plans)) {
        const Copies made = createdFiles.isEmpty() ? *copies : Copies::Offered;
        const Result<CreatedFile> created = whileBusy(window, kCreating, [&plan, made] {
            return carryOut(plan, {made, Backup::Keep, texture256ColoursOf});
        });
        if (!created.ok()) {
            showError(window, created.error());
            break;
        }
        createdFiles.append(created.value());
    }
    if (!createdFiles.isEmpty())
        createdFiles.first().settled = settled + createdFiles.first().settled;
    return createdFiles;
}

Message createdMessage(const QList<CreatedFile> &createdFiles)
{
    QStringList texts;
    for (const CreatedFile &created : createdFiles)
        texts.append(createdMessage(created));
    return {texts.join(QStringLiteral("\n\n")), MessageStyle::Plain,
            createdFiles.size() == 1 ? QStringLiteral("File Created")
                                     : QStringLiteral("Files Created")};
}

} // namespace kelvane
