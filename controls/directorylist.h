#pragma once

#include <QIcon>
#include <QWidget>

#include <functional>

class QListWidget;
class QMenu;
class QAction;
class QListWidgetItem;
class QThreadPool;

namespace kelvane {

class FolderWatch;
struct FolderEntry;

// A classic folder list: the chain of folders from the drive root down to the
// current folder, then the current folder's subfolders, indented. Double-click
// or Enter opens the selected folder; typing letters selects by name. Hidden
// folders are listed too, except on Windows. The list follows the folder on
// disk: subfolders another program adds, removes or renames show within a
// moment, without a change of path. When the folder itself is removed or
// renamed, the list opens the nearest folder above it that remains.
// A FAR archive is listed after the subfolders, marked as an archive, and
// opens like a folder: its entries' folders are listed below it.
// A change on disk is listed off the window's thread and touches only the
// rows that differ, keeping the selection and the scroll position, so that a
// folder of many thousand subfolders stays quick to follow.
class DirectoryList final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DirectoryList)

public:
    // Starts in the current folder.
    explicit DirectoryList(QWidget *parent = nullptr);
    // Starts in startFolder, or at the system root when it cannot be listed.
    explicit DirectoryList(const QString &startFolder, QWidget *parent = nullptr);
    ~DirectoryList() override;

    // The full native path, without a trailing separator except at a root.
    QString path() const;
    // Shows the folder at path, on disk or inside an archive, raising
    // changed() when it differs from the one shown. Returns false, and
    // changes nothing, when the folder cannot be listed (gone, no medium, no
    // permission, an archive that cannot be read).
    bool setPath(const QString &path);
    // Whether setPath(path) would show the folder.
    static bool canList(const QString &path);
    // Adds a command to the context menu: its object name, its text, whether
    // it may be chosen (asked as the menu opens) and what choosing it does.
    void addMenuCommand(const QString &name, const QString &text, std::function<bool()> enabled,
                        std::function<void()> run);

signals:
    void changed();
    // The user opened a folder or an archive that cannot be read; reason says why.
    void cannotOpen(const QString &reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFolder(const QList<FolderEntry> &entries);
    QListWidgetItem *itemOf(const FolderEntry &entry) const;
    void replaceEntries(const QList<FolderEntry> &entries);
    void updateEntries(const QList<FolderEntry> &entries);
    void refreshFolder();
    void openSelected();

    QListWidget *m_list;
    QMenu *m_menu = nullptr;
    QList<std::pair<QAction *, std::function<bool()>>> m_menuCommands;
    FolderWatch *m_watch;
    // The folder above, which sees the folder itself renamed.
    FolderWatch *m_aboveWatch;
    // Lists the folder again when it changed, off the window's thread.
    QThreadPool *m_lister;
    const QIcon m_openIcon;
    const QIcon m_closedIcon;
    const QIcon m_archiveIcon;
    QString m_path;
    // The rows of the chain of folders, above the entries.
    int m_chainRows = 0;
    // Counts the folders shown, so that a listing that finishes after the
    // list moved on is dropped.
    quint64 m_shown = 0;
    bool m_listing = false;
    bool m_listAgain = false;
};

} // namespace kelvane
