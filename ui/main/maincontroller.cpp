#include "ui/main/maincontroller.h"

#include "compose/attach.h"
#include "compose/cmxfile.h"
#include "compose/gamecharacters.h"
#include "compose/newname.h"
#include "compose/restore.h"
#include "controls/commandbutton.h"
#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/label.h"
#include "controls/messagebox.h"
#include "controls/textbox.h"
#include "platform/gamesearch.h"
#include "platform/systempaths.h"
#include "ui/main/createcommand.h"

#include <QFileInfo>

namespace kelvane {

MainController::MainController(const MainControls &controls, QWidget *window)
    : QObject(window),
      m_controls(controls), m_skins{controls.DrvSkins, controls.DirSkins, controls.FileSkins},
      m_props{controls.DrvProps, controls.DirProps, controls.FileProps}, m_window(window),
      m_suffix(kDefaultSuffix)
{
    const MainControls &c = m_controls;
    connect(c.DrvSkins, &DriveList::changed, this, &MainController::onDrvSkinsChange);
    connect(c.DrvProps, &DriveList::changed, this, &MainController::onDrvPropsChange);
    connect(c.DirSkins, &DirectoryList::changed, this, &MainController::onDirSkinsChange);
    connect(c.DirProps, &DirectoryList::changed, this, &MainController::onDirPropsChange);
    for (DirectoryList *folders : {c.DirSkins, c.DirProps})
        connect(folders, &DirectoryList::cannotOpen, this, &MainController::onDirCannotOpen);
    connect(c.FileSkins, &FileList::fileChosen, this, &MainController::onFileSkinsChosen);
    connect(c.FileProps, &FileList::fileChosen, this, &MainController::onFilePropsChosen);
    connect(c.FileSkins, &FileList::selectionLost, this, &MainController::onFileSelectionLost);
    connect(c.FileProps, &FileList::selectionLost, this, &MainController::onFileSelectionLost);
    connect(c.txtNewName, &TextBox::changed, this, &MainController::onTxtNewNameChange);
    connect(c.txtSavedTo, &TextBox::changed, this, &MainController::onTxtSavedToChange);
    connect(c.cmdDoIt, &CommandButton::clicked, this, &MainController::onCmdDoItClick);
    connect(c.cmdHelp, &CommandButton::clicked, this, &MainController::onCmdHelpClick);
    connect(c.lblTitle, &Label::clicked, this, &MainController::onLblTitleClick);
    // A folder shown that is a game's skins folder is that game's entry once
    // the search has found it; the drive lists have taken the entries by then.
    connect(&GameSearch::shared(), &GameSearch::finished, this, [this] {
        for (const Side *side : {&m_skins, &m_props})
            side->drive->setDrive(side->directory->path());
    });
    c.FileSkins->addMenuCommand(
        QStringLiteral("mnuRestore"), QStringLiteral("Restore Previous &Version..."),
        [this] { return chosenFileCanBeRestored(); }, [this] { onMnuRestoreClick(); });
    for (FileList *files : {c.FileSkins, c.FileProps})
        files->addMenuCommand(
            QStringLiteral("mnuPreview"), QStringLiteral("&Preview..."),
            [this] { return !chosenCharacterFile().isEmpty(); }, [this] { onMnuPreviewClick(); });
    for (const Side *side : {&m_skins, &m_props}) {
        DirectoryList *folders = side->directory;
        FileList *files = side->files;
        folders->addMenuCommand(
            QStringLiteral("mnuCheckFolder"), QStringLiteral("Chec&k This Folder..."),
            [this, folders] { return m_showFolderCheck && QFileInfo(folders->path()).isDir(); },
            [this, folders, files] {
                if (!m_showFolderCheck || !QFileInfo(folders->path()).isDir())
                    return;
                m_showFolderCheck(folders->path());
                // Mends rename and move files: at once, rather than when the watch notices.
                files->refresh();
            });
    }
}

void MainController::setShowFolderCheck(std::function<void(const QString &folder)> showFolderCheck)
{
    m_showFolderCheck = std::move(showFolderCheck);
}

void MainController::setShowHelp(std::function<void()> showHelp)
{
    m_showHelp = std::move(showHelp);
}

void MainController::setShowAbout(std::function<void()> showAbout)
{
    m_showAbout = std::move(showAbout);
}

void MainController::setShowRestore(std::function<void(const QString &path)> showRestore)
{
    m_showRestore = std::move(showRestore);
}

void MainController::setShowPreview(
    std::function<void(const QString &characterPath, const QString &meshPath)> showPreview)
{
    m_showPreview = std::move(showPreview);
}

void MainController::onMainLoad()
{
    // The file lists follow through the directory lists' changed(). A list
    // that already shows the system root (where the window builds it, before
    // this controller listened) raises none, so its file list is pointed
    // there as changed() would have.
    for (const Side *side : {&m_skins, &m_props}) {
        side->directory->setPath(systemRoot());
        if (side->files->path() != side->directory->path())
            directoryChange(*side);
    }
    m_suffix = kDefaultSuffix;
    m_savedToEdited = false;
}

bool MainController::openSkinsFolder(const QString &folder)
{
    return openFolder(m_skins, folder);
}

bool MainController::openPropsFolder(const QString &folder)
{
    return openFolder(m_props, folder);
}

bool MainController::openFolder(const Side &side, const QString &folder)
{
    if (!DirectoryList::canList(folder))
        return false;
    // A new drive moves the folder list to its root first, as a drive chosen by hand does.
    side.drive->setDrive(folder);
    return side.directory->setPath(folder);
}

void MainController::onDrvSkinsChange()
{
    driveChange(m_skins);
}

void MainController::onDrvPropsChange()
{
    driveChange(m_props);
}

void MainController::onDirSkinsChange()
{
    directoryChange(m_skins);
}

void MainController::onDirPropsChange()
{
    directoryChange(m_props);
}

void MainController::onDirCannotOpen(const QString &reason)
{
    showMessage(m_window, {reason, MessageStyle::Exclamation, QStringLiteral("Error")});
}

void MainController::driveChange(const Side &side)
{
    if (side.directory->setPath(driveRoot(side.drive->drive())))
        return;
    showMessage(m_window, {QStringLiteral("Nothing in specified drive!"), MessageStyle::Exclamation,
                           QStringLiteral("Error")});
    // Raises this handler again, nested, which moves the folder list to the
    // root of the restored drive.
    side.drive->setDrive(side.directory->path());
}

void MainController::directoryChange(const Side &side)
{
    side.files->setPath(side.directory->path());
    m_controls.cmdDoIt->setEnabled(false);
}

void MainController::onFileSkinsChosen()
{
    const QStringList characterFiles = m_controls.FileSkins->fileNames();
    if (characterFiles.isEmpty())
        return;
    // With several files, "*" stands for each file's part of its own name.
    m_controls.txtNewName->setText(characterFiles.size() > 1
                                       ? kEachName + m_suffix
                                       : proposeNewName(characterFiles.first(), m_suffix));
    if (!m_savedToEdited)
        m_controls.txtSavedTo->setText(folderProposal());
    if (!m_controls.FileProps->fileName().isEmpty())
        m_controls.cmdDoIt->setEnabled(true);
}

void MainController::onFilePropsChosen()
{
    if (!m_controls.FileSkins->fileName().isEmpty())
        m_controls.cmdDoIt->setEnabled(true);
}

void MainController::onFileSelectionLost()
{
    // Both selections no longer stand: the chosen file is gone from its folder.
    m_controls.cmdDoIt->setEnabled(false);
}

void MainController::onTxtNewNameChange()
{
    const QString typed = m_controls.txtNewName->text();
    if (m_controls.FileSkins->fileNames().size() > 1 && typed.startsWith(kEachName))
        m_suffix = typed.mid(kEachName.size());
    else
        m_suffix = suffixOfName(typed, m_suffix);
}

void MainController::onTxtSavedToChange()
{
    if (m_controls.txtSavedTo->text() != folderProposal())
        m_savedToEdited = true;
}

void MainController::onCmdDoItClick()
{
    const MainControls &c = m_controls;
    const CreateInputs inputs{
        c.DirSkins->path(),   c.FileSkins->fileNames(), c.DirProps->path(), c.FileProps->fileName(),
        c.txtNewName->text(), c.txtSavedTo->text(),     foundGameFolders()};
    // A refusal, a fault or a No leaves the window as it was.
    const QList<CreatedFile> created = runCreateCommand(m_window, inputs);
    if (created.isEmpty())
        return;
    showMessage(m_window, createdMessage(created));
    c.FileSkins->refresh();
    c.cmdDoIt->setEnabled(false);
}

void MainController::onCmdHelpClick()
{
    if (m_showHelp)
        m_showHelp();
}

void MainController::onLblTitleClick()
{
    if (m_showAbout)
        m_showAbout();
}

void MainController::onMnuRestoreClick()
{
    if (!m_showRestore || !chosenFileCanBeRestored())
        return;
    m_showRestore(chosenCharacterFile());
    // At once, rather than when the folder watch notices.
    m_controls.FileSkins->refresh();
}

void MainController::onMnuPreviewClick()
{
    const QString characterPath = chosenCharacterFile();
    if (!m_showPreview || characterPath.isEmpty())
        return;
    const QString mesh = m_controls.FileProps->fileName();
    m_showPreview(characterPath,
                  mesh.isEmpty() ? QString() : inputFilePath(m_controls.FileProps->path(), mesh));
}

QString MainController::chosenCharacterFile() const
{
    const QString name = m_controls.FileSkins->fileName();
    return name.isEmpty() ? QString() : inputFilePath(m_controls.FileSkins->path(), name);
}

bool MainController::chosenFileCanBeRestored() const
{
    const QString path = chosenCharacterFile();
    return !path.isEmpty() &&
           (!backupsOf(path).isEmpty() || gameCharacterReplacedBy(path).has_value());
}

QStringList MainController::foundGameFolders()
{
    QStringList folders;
    for (const GameFolder &game : GameSearch::shared().games())
        folders.append(game.folder);
    return folders;
}

QString MainController::folderProposal() const
{
    // A file from an archive goes where the game takes it instead of the archive's.
    return proposedOutputFolder(m_controls.FileSkins->path()) + pathSeparator();
}

} // namespace kelvane
