#include "ui/main/maincontroller.h"

#include "base/messagetext.h"
#include "compose/attach.h"
#include "compose/newname.h"
#include "controls/commandbutton.h"
#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/label.h"
#include "controls/messagebox.h"
#include "controls/textbox.h"
#include "game/gamecharacters.h"
#include "inputs/archivepath.h"
#include "inputs/inputfiles.h"
#include "platform/gamesearch.h"
#include "platform/systempaths.h"
#include "replace/restore.h"
#include "ui/main/createcommand.h"
#include "ui/main/restorecommand.h"

#include <QFileInfo>

namespace kelvane {

MainController::MainController(const MainControls &controls, QWidget *window,
                               const GameSearch &games)
    : QObject(window),
      m_controls(controls), m_skins{controls.DrvSkins, controls.DirSkins, controls.FileSkins},
      m_props{controls.DrvProps, controls.DirProps, controls.FileProps}, m_window(window),
      m_games(games), m_suffix(kDefaultSuffix)
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
    connect(&games, &GameSearch::finished, this, &MainController::onGameSearchFinished);
    c.FileSkins->addMenuCommand(
        QStringLiteral("mnuRestore"), QStringLiteral("Restore Previous &Version..."),
        [this] { return restoreMenuState(); }, [this] { onMnuRestoreClick(); });
    c.FileSkins->addMenuCommand(
        QStringLiteral("mnuPutBack"), QStringLiteral("Put the Game's Own &Back..."),
        [this] { return putBackMenuState(); }, [this] { onMnuPutBackClick(); });
    for (FileList *files : {c.FileSkins, c.FileProps})
        files->addMenuCommand(
            QStringLiteral("mnuPreview"), QStringLiteral("&Preview..."),
            [this] { return previewMenuState(); }, [this] { onMnuPreviewClick(); });
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
    if (side.files == m_controls.FileSkins)
        characterFilesLeft();
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
    showNamesToolTip();
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
    if (m_controls.FileSkins->fileNames().isEmpty())
        characterFilesLeft();
}

void MainController::onTxtNewNameChange()
{
    const QString typed = m_controls.txtNewName->text();
    if (m_controls.FileSkins->fileNames().size() > 1 && typed.startsWith(kEachName))
        m_suffix = typed.mid(kEachName.size());
    else
        m_suffix = suffixOfName(typed, m_suffix);
    showNamesToolTip();
}

void MainController::characterFilesLeft()
{
    // The name of several files goes with them: it would stand for none.
    if (m_controls.txtNewName->text().startsWith(kEachName))
        m_controls.txtNewName->setText(QString());
    showNamesToolTip();
}

void MainController::showNamesToolTip()
{
    // With several files, the names they will take: "6 files: B904FAFit_tie, B905MAFit_tie, …".
    const QStringList characterFiles = m_controls.FileSkins->fileNames();
    const QString typed = m_controls.txtNewName->text();
    QString toolTip;
    if (characterFiles.size() > 1 && typed.startsWith(kEachName)) {
        QStringList names;
        for (const QString &file : characterFiles.first(2))
            names.append(proposeNewName(file, typed.mid(kEachName.size())));
        if (characterFiles.size() > names.size())
            names.append(QStringLiteral("\u2026"));
        toolTip = QStringLiteral("%1 files: %2")
                      .arg(characterFiles.size())
                      .arg(names.join(QStringLiteral(", ")));
    }
    m_controls.txtNewName->setToolTip(toolTip);
}

void MainController::onTxtSavedToChange()
{
    if (m_controls.txtSavedTo->text() != folderProposal())
        m_savedToEdited = true;
}

void MainController::onCmdDoItClick()
{
    const MainControls &c = m_controls;
    const CreateInputs inputs{c.DirSkins->path(),
                              c.FileSkins->fileNames(),
                              c.DirProps->path(),
                              c.FileProps->fileName(),
                              c.txtNewName->text(),
                              c.txtSavedTo->text(),
                              [this] { return foundGameFolders(); }};
    // A refusal, a fault or a No leaves the window as it was.
    const QList<CreatedFile> created = runCreateCommand(m_window, inputs);
    if (created.isEmpty())
        return;
    showMessage(m_window, createdMessage(created));
    // The list shows nothing chosen while the button is greyed: a click on a
    // character file chooses again.
    c.FileSkins->refresh();
    c.FileSkins->clearSelection();
    characterFilesLeft();
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

void MainController::onMnuPutBackClick()
{
    const QString entry = chosenCharacterFile();
    const QString loose = entry.isEmpty() ? QString() : looseFileReplacing(entry);
    if (const std::optional<GameCharacter> character =
            loose.isEmpty() ? std::nullopt : gameCharacterReplacedBy(loose))
        runPutBackCommand(m_window, loose, *character);
}

FileList::MenuCommandState MainController::restoreMenuState() const
{
    const QString path = chosenCharacterFile();
    if (path.isEmpty())
        return {false, QStringLiteral("Select a character file first.")};
    const QString name = shownName(QFileInfo(path).fileName());
    if (archivePathOf(path))
        return {false, QStringLiteral("%1 is one of the game's own, inside its archive, which "
                                      "is never changed: it has no previous versions.")
                           .arg(name)};
    if (chosenFileCanBeRestored())
        return {true, QStringLiteral("Puts back an earlier version of %1.").arg(name)};
    return {false, QStringLiteral("No earlier version of %1 is kept, and it takes the place of "
                                  "none of the game's own characters.")
                       .arg(name)};
}

FileList::MenuCommandState MainController::putBackMenuState() const
{
    const QString entry = chosenCharacterFile();
    if (!archivePathOf(m_controls.FileSkins->path()))
        return {false, {}, false};
    if (entry.isEmpty())
        return {false, QStringLiteral("Select a character file first.")};
    const QString name = shownName(QFileInfo(entry).fileName());
    const QString loose = looseFileReplacing(entry);
    if (loose.isEmpty())
        return {false, QStringLiteral("No file in the game's Skins folder takes the place of %1: "
                                      "the game already loads its own.")
                           .arg(name)};
    return {true, QStringLiteral("%1 takes the place of %2. Moves it aside (nothing is deleted), "
                                 "so the game loads its own again.")
                      .arg(shownName(loose), name)};
}

FileList::MenuCommandState MainController::previewMenuState() const
{
    if (chosenCharacterFile().isEmpty())
        return {false, QStringLiteral("Select a character file first: the preview shows it "
                                      "wearing the mesh selected.")};
    return {true, QStringLiteral("Shows the character file selected wearing the mesh selected.")};
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

void MainController::onGameSearchFinished()
{
    // The entries are added or renewed; a folder shown that is a game's own
    // folder shows as that game's entry. No side changes its folder.
    for (const Side *side : {&m_skins, &m_props}) {
        side->drive->listDrivesAgain();
        side->drive->showGameEntryFor(side->directory->path());
    }
}

QStringList MainController::foundGameFolders() const
{
    // A create waits briefly for a search still running, so that a new file
    // taking a game character's place is told even just after start.
    constexpr int kGameSearchWaitMs = 5000;
    QStringList folders;
    for (const GameFolder &game : m_games.gamesOnceFound(kGameSearchWaitMs))
        folders.append(game.folder);
    return folders;
}

QString MainController::folderProposal() const
{
    // A file from an archive goes where the game takes it instead of the archive's.
    return proposedOutputFolder(m_controls.FileSkins->path()) + pathSeparator();
}

} // namespace kelvane
