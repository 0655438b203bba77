#pragma once

#include <QWidget>

#include <functional>

class QAction;
class QHelpEvent;
class QMenu;
class QItemSelection;
class QModelIndex;
class QStringListModel;

namespace kelvane {

class FileListView;
class FolderWatch;

// The regular files of one folder whose names match any of the patterns
// (case-insensitively on every system), sorted by name; hidden files too,
// except on Windows. In a folder inside a FAR archive, its entries.
// fileChosen() follows every change of the selection the user makes (mouse
// button of any kind, dragging, keys) and a left click on the selected entry;
// the list's own re-reads raise nothing, except selectionLost() when the
// selected file is gone. The list follows the folder on disk: files another
// program adds, removes or renames show within a moment; inside an archive,
// the entries of the archive put in its place.
// An optional provider gives the tooltip of the entry the pointer rests on;
// the list's own tooltip shows where no entry is. Commands added to the
// list's context menu work on the selected entry; a command shown greyed
// says why in its tooltip.
class FileList final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileList)

public:
    // The tooltip text for the file at filePath (its native full path).
    using ToolTipProvider = std::function<QString(const QString &filePath)>;
    // How a menu command shows as the menu opens.
    struct MenuCommandState {
        bool enabled = true;
        // What it does, or why it cannot be chosen now.
        QString toolTip = {};
        bool visible = true;
    };

    explicit FileList(const QStringList &patterns, QWidget *parent = nullptr);

    // The folder as last written.
    QString path() const;
    // Lists the folder's files with nothing selected.
    void setPath(const QString &path);
    // The selected entry's name without folder, or empty when none is
    // selected; the first in the list when several are.
    QString fileName() const;
    // Every selected entry's name, in the list's order.
    QStringList fileNames() const;
    // Whether several entries may be selected: Ctrl+click, Shift+click, Ctrl+A.
    void setMultipleSelection(bool multiple);
    // Re-reads the folder, keeping the selected entries whose files still
    // exist, and the scroll position. Raises selectionLost() when none does.
    void refresh();
    // Leaves nothing selected; raises nothing.
    void clearSelection();
    // Asked only when the pointer comes to rest on an entry, so that no file
    // is read while a folder is listed.
    void setToolTipProvider(ToolTipProvider provider);
    // Adds a command to the context menu: its object name, its text, how it
    // shows (asked as the menu opens) and what choosing it does.
    void addMenuCommand(const QString &name, const QString &text,
                        std::function<MenuCommandState()> state, std::function<void()> run);

signals:
    void fileChosen();
    // A re-read found the selected file gone and left nothing selected.
    void selectionLost();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readFolder();
    void followSelection();
    void followClick();
    void showToolTip(const QHelpEvent &event);
    void showMenu(const QPoint &at);

    QStringList m_patterns;
    QString m_path;
    QStringListModel *m_files;
    FileListView *m_view;
    FolderWatch *m_watch;
    ToolTipProvider m_toolTipProvider;
    QMenu *m_menu = nullptr;
    QList<std::pair<QAction *, std::function<MenuCommandState()>>> m_menuCommands;
    // Set while the list itself changes the selection.
    bool m_reading = false;
    // Whether the selection moved since the last mouse press.
    bool m_movedSincePress = false;
};

} // namespace kelvane
