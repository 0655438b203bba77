#pragma once

#include "controls/filelist.h"
#include "ui/main/maincontrols.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace kelvane {

class GameSearch;

// The behaviour of the Main window: one handler per control event, the
// remembered name suffix and whether the user has edited the output folder.
// Property writes on the controls raise their events nested, so the file
// lists follow the directory lists and the suffix follows the name text.
class MainController final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainController)

public:
    // Binds the handlers to the controls' events; message boxes open over
    // window. What games finds joins the drive lists and the checks; the
    // controller never starts a search itself.
    MainController(const MainControls &controls, QWidget *window, const GameSearch &games);

    // The Help window and the About message, shown by cmdHelp and lblTitle.
    void setShowHelp(std::function<void()> showHelp);
    void setShowAbout(std::function<void()> showAbout);
    // The window that restores a backup of the character file at its path,
    // opened from FileSkins' menu.
    void setShowRestore(std::function<void(const QString &path)> showRestore);
    // The window that previews a character file wearing a mesh (empty: none),
    // opened from either file list's menu.
    void setShowPreview(
        std::function<void(const QString &characterPath, const QString &meshPath)> showPreview);
    // What Check This Folder... of a folder list shows.
    void setShowFolderCheck(std::function<void(const QString &folder)> showFolderCheck);

    // Shows folder (on disk or inside an archive) on the skins or the mesh
    // side as a user opening it would: the drive list follows the folder's
    // drive, then the folder list. Returns false, changing nothing, when the
    // folder cannot be listed.
    bool openSkinsFolder(const QString &folder);
    bool openPropsFolder(const QString &folder);

    QString suffix() const { return m_suffix; }
    bool savedToEdited() const { return m_savedToEdited; }

public slots:
    void onMainLoad();
    void onDrvSkinsChange();
    void onDrvPropsChange();
    void onDirSkinsChange();
    void onDirPropsChange();
    void onDirCannotOpen(const QString &reason);
    void onFileSkinsChosen();
    void onFilePropsChosen();
    void onFileSelectionLost();
    void onTxtNewNameChange();
    void onTxtSavedToChange();
    void onCmdDoItClick();
    void onCmdHelpClick();
    void onLblTitleClick();
    void onMnuRestoreClick();
    void onMnuPreviewClick();
    void onMnuPutBackClick();

private:
    // The drive list, directory list and file list of one side of the window.
    struct Side {
        DriveList *drive;
        DirectoryList *directory;
        FileList *files;
    };

    void driveChange(const Side &side);
    void directoryChange(const Side &side);
    bool openFolder(const Side &side, const QString &folder);
    QString folderProposal() const;
    // The name box's tooltip: with several files, how many and the names they take.
    void showNamesToolTip();
    // No character file is selected any more: the name of several files goes.
    void characterFilesLeft();
    QString chosenCharacterFile() const;
    // Whether the chosen file has backups or takes the place of a game's character.
    bool chosenFileCanBeRestored() const;
    // How the file lists' menu commands show, saying why when greyed.
    FileList::MenuCommandState restoreMenuState() const;
    FileList::MenuCommandState putBackMenuState() const;
    FileList::MenuCommandState previewMenuState() const;
    // What the search for the game found, once a search still running ends
    // (waited for briefly); blocks, so it is asked off the window's thread.
    QStringList foundGameFolders() const;
    // A search ended: its games join the drive lists, and neither side moves.
    void onGameSearchFinished();

    MainControls m_controls;
    Side m_skins;
    Side m_props;
    QWidget *m_window;
    const GameSearch &m_games;
    std::function<void()> m_showHelp;
    std::function<void()> m_showAbout;
    std::function<void(const QString &)> m_showRestore;
    std::function<void(const QString &, const QString &)> m_showPreview;
    std::function<void(const QString &)> m_showFolderCheck;

    QString m_suffix;
    bool m_savedToEdited = false;
};

} // namespace kelvane
