#include "ui/main/createcommand.h"

#include "cli/windowsfolder.h"
#include "compose/backup.h"
#include "compose/cmxfile.h"
#include "compose/messagetext.h"
#include "controls/messagebox.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

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

// Asks, when the game would not find what the mesh needs, whether to copy the
// mesh and its texture first, to create the file as it is, or to do nothing.
std::optional<Copies> mayCreateDespite(QWidget *window, const GameCheck &check)
{
    const QStringList findings = check.findings(Copies::Offered);
    if (findings.isEmpty())
        return Copies::Offered;
    QString text = QStringLiteral("The game may not show the attached mesh as it should:\n\n");
    for (const QString &finding : findings)
        text += QStringLiteral("\u2022 ") + finding + QStringLiteral("\n\n");
    QList<MessageButton> buttons = {MessageButton::CreateOnly, MessageButton::Cancel};
    if (!check.copies.isEmpty()) {
        QStringList names;
        for (const GameFileCopy &copy : check.copies)
            names.append(shownName(QFileInfo(copy.to).fileName()));
        text += QStringLiteral("Copy %1 into the folder of the new file before creating it?")
                    .arg(names.join(QStringLiteral(" and ")));
        buttons.prepend(MessageButton::CopyAndCreate);
    } else {
        text += QStringLiteral("Create the file anyway?");
    }
    switch (showMessage(window,
                        {text, MessageStyle::Exclamation, QStringLiteral("Check Before Creating"),
                         buttons, MessageButton::Cancel})) {
    case MessageButton::CopyAndCreate:
        return Copies::Made;
    case MessageButton::CreateOnly:
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
    for (const QString &note : created.copies.notes + created.settled)
        text += QStringLiteral("\n\n") + note;
    return text;
}

std::optional<CreatedFile> runCreateCommand(QWidget *window, const CreateInputs &in)
{
    const Result<QString> folder = typedOutputFolder(in.outputFolder, RelativeFolder::Refused);
    if (!folder.ok()) {
        showError(window, folder.error());
        return std::nullopt;
    }
    // Faulty inputs are reported before any question.
    const Result<AttachPlan> prepared =
        prepareAttachment({inputFilePath(in.skinDirectory, in.skinFileName),
                           inputFilePath(in.meshDirectory, in.meshFileName), in.newName,
                           folder.value(), in.gameFolders});
    if (!prepared.ok()) {
        showError(window, prepared.error());
        return std::nullopt;
    }
    const AttachPlan &plan = prepared.value();
    if (plan.alreadyHeld && !mayAttachAgain(window, in.skinFileName, plan.attached))
        return std::nullopt;
    const std::optional<Copies> copies = mayCreateDespite(window, plan.gameCheck);
    if (!copies)
        return std::nullopt;
    if (plan.replacesFile && plan.backupPath.isEmpty()) {
        showError(window, noFreeBackupName(replacedFilePath(plan.outputPath)));
        return std::nullopt;
    }
    if (plan.replacesFile && !mayReplace(window, plan.outputPath, plan.backupPath))
        return std::nullopt;

    const Result<CreatedFile> created = carryOut(plan, {*copies, Backup::Keep});
    if (!created.ok()) {
        showError(window, created.error());
        return std::nullopt;
    }
    return created.value();
}

} // namespace kelvane
