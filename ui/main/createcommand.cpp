#include "ui/main/createcommand.h"

#include "compose/backup.h"
#include "compose/cmxfile.h"
#include "compose/messagetext.h"
#include "controls/messagebox.h"
#include "platform/wineprefix.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

const QString kAskFullPath =
    QStringLiteral("Type the full path of the folder to save the new file to.");

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
    return userSaysYes(
        window, QStringLiteral("Already Attached"),
        QStringLiteral("%1 already holds the mesh %2 on the bone %3.\n\n"
                       "Attach it again?")
            .arg(shownName(characterFileName), quotedBytes(mesh.mesh), quotedBytes(mesh.bone)));
}

// Asks before an existing file is replaced, naming where its old content goes.
bool mayReplace(QWidget *window, const QString &outputPath)
{
    const QFileInfo output(outputPath);
    return userSaysYes(window, QStringLiteral("File Exists"),
                       QStringLiteral("%1 already exists in %2.\n\n"
                                      "Replace it? Its old content will be kept as %3.")
                           .arg(shownName(output.fileName()),
                                shownName(QDir::toNativeSeparators(output.absolutePath())),
                                shownBackupName(backupPathFor(outputPath), outputPath)));
}

// Asks, when the game would not find what the mesh needs, whether to copy the
// mesh and its texture first, to create the file as it is, or to do nothing.
std::optional<Copies> mayCreateDespite(QWidget *window, const GameCheck &check)
{
    if (check.findings.isEmpty())
        return Copies::Offered;
    QString text = QStringLiteral("The game may not show the attached mesh as it should:\n\n");
    for (const QString &finding : check.findings)
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

QString createdMessage(const CreateOutcome &outcome)
{
    QString text = QFileInfo(outcome.file.path).fileName() + QStringLiteral(" has been created");
    if (!outcome.file.backupPath.isEmpty())
        text += QStringLiteral("\nIts previous content is kept as %1.")
                    .arg(shownBackupName(outcome.file.backupPath, outcome.file.path));
    if (!outcome.copies.copied.isEmpty()) {
        QStringList names;
        for (const QString &copied : outcome.copies.copied)
            names.append(shownName(QFileInfo(copied).fileName()));
        text += QStringLiteral("\n\nCopied beside it for the game: %1.")
                    .arg(names.join(QStringLiteral(", ")));
    }
    for (const QString &problem : outcome.copies.problems + outcome.file.settled)
        text += QStringLiteral("\n\n") + problem;
    return text;
}

Result<QString> outputFolderFor(const QString &typed)
{
    if (const std::optional<QString> mapped = prefixPathForWindowsPath(typed))
        return *mapped;
    if (typed.isEmpty())
        return Failure{kAskFullPath};
    if (const std::optional<QString> drive = unmappedWindowsDrive(typed))
        return Failure{QStringLiteral("%1: the Wine prefix in use has no drive %2. %3")
                           .arg(shownName(typed), *drive, kAskFullPath)};
    if (!QDir::isAbsolutePath(typed))
        return Failure{
            QStringLiteral("%1: not a full folder path. %2").arg(shownName(typed), kAskFullPath)};
    return typed;
}

std::optional<CreateOutcome> runCreateCommand(QWidget *window, const CreateInputs &in)
{
    const Result<QString> folder = outputFolderFor(in.outputFolder);
    if (!folder.ok()) {
        showError(window, folder.error());
        return std::nullopt;
    }
    // Faulty inputs are reported before any question.
    const QString meshPath = inputFilePath(in.meshDirectory, in.meshFileName);
    const Result<Attachment> prepared = prepareAttachment(
        {inputFilePath(in.skinDirectory, in.skinFileName), meshPath, in.newName, folder.value()});
    if (!prepared.ok()) {
        showError(window, prepared.error());
        return std::nullopt;
    }
    const Attachment &attachment = prepared.value();
    if (attachment.alreadyHeld && !mayAttachAgain(window, in.skinFileName, attachment.attached))
        return std::nullopt;
    const QString outputFolder = QFileInfo(attachment.outputPath).absolutePath();
    const std::optional<Copies> copies =
        mayCreateDespite(window, checkWhatTheGameNeeds(meshPath, attachment.mesh, outputFolder));
    if (!copies)
        return std::nullopt;
    if (attachment.replacesFile && backupPathFor(attachment.outputPath).isEmpty()) {
        showError(window, noFreeBackupName(replacedFilePath(attachment.outputPath)));
        return std::nullopt;
    }
    if (attachment.replacesFile && !mayReplace(window, attachment.outputPath))
        return std::nullopt;

    const Result<CreatedFile> created = writeAttachment(attachment, Backup::Keep);
    if (!created.ok()) {
        showError(window, created.error());
        return std::nullopt;
    }
    CreateOutcome outcome{created.value(), {}};
    if (*copies == Copies::Made)
        outcome.copies = copyForTheGame(
            checkWhatTheGameNeeds(meshPath, attachment.mesh, outputFolder, Copies::Made).copies);
    return outcome;
}

} // namespace kelvane
