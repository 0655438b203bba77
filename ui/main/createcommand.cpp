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
    return userSaysYes(window, QStringLiteral("Already Attached"),
                       QStringLiteral("%1 already holds the mesh %2 on the bone %3.\n\n"
                                      "Attach it again?")
                           .arg(shownName(characterFileName),
                                quotedBytes(mesh.mesh), quotedBytes(mesh.bone)));
}

// Asks before an existing file is replaced, naming where its old content goes.
bool mayReplace(QWidget *window, const QString &outputPath)
{
    const QFileInfo output(outputPath);
    const QFileInfo backup(backupPathFor(outputPath));
    // A link is replaced through, so its backup may lie in another folder.
    const QString backupShown = backup.absolutePath() == output.absolutePath()
                                    ? backup.fileName()
                                    : QDir::toNativeSeparators(backup.absoluteFilePath());
    return userSaysYes(window, QStringLiteral("File Exists"),
                       QStringLiteral("%1 already exists in %2.\n\n"
                                      "Replace it? Its old content will be kept as %3.")
                           .arg(shownName(output.fileName()),
                                shownName(QDir::toNativeSeparators(output.absolutePath())),
                                shownName(backupShown)));
}

} // namespace

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

std::optional<CreatedFile> runCreateCommand(QWidget *window, const CreateInputs &in)
{
    const Result<QString> folder = outputFolderFor(in.outputFolder);
    if (!folder.ok()) {
        showError(window, folder.error());
        return std::nullopt;
    }
    // Faulty inputs are reported before any question.
    const Result<Attachment> prepared = prepareAttachment(
        {inputFilePath(in.skinDirectory, in.skinFileName),
         inputFilePath(in.meshDirectory, in.meshFileName), in.newName, folder.value()});
    if (!prepared.ok()) {
        showError(window, prepared.error());
        return std::nullopt;
    }
    const Attachment &attachment = prepared.value();
    if (attachment.alreadyHeld && !mayAttachAgain(window, in.skinFileName, attachment.attached))
        return std::nullopt;
    if (attachment.replacesFile && !mayReplace(window, attachment.outputPath))
        return std::nullopt;

    const Result<CreatedFile> created = writeAttachment(attachment, Backup::Keep);
    if (!created.ok()) {
        showError(window, created.error());
        return std::nullopt;
    }
    return created.value();
}

} // namespace kelvane
