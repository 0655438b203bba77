#pragma once

#include "game/gamecharacters.h"
#include "replace/restore.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kelvane {

class BackupSummaries;

// The versions of one character file that can be put back: first the game's
// own, when the file takes the place of one of the game's characters, then
// its backups newest first, with when they were saved, their size and their
// number of skins; the one selected is put back by Enter, a double click or
// Restore, after a question. A small navy dialog over Main, as Help is;
// Escape closes it. It shows at once: the backups' skins fill in as they are
// read, off the window's thread.
class RestoreWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RestoreWindow)

public:
    explicit RestoreWindow(const QString &path, QWidget *parent = nullptr);
    ~RestoreWindow() override;

    // Whether a backup was put back since the window opened.
    bool restored() const { return m_restored; }

private:
    // Lists the backups as they are now, selecting the one at selectPath or
    // else the newest.
    void listBackups(const QString &selectPath = {});
    void restoreSelected();
    void showSummary(const QString &path, int skins, const QString &toolTip);
    int firstBackupRow() const { return m_gameOwn ? 1 : 0; }

    QString m_path;
    // The row of the game's own, first, while the loose file is there.
    std::optional<GameCharacter> m_gameOwn;
    QList<BackupFile> m_backups;
    std::unique_ptr<BackupSummaries> m_summaries;
    int m_listings = 0;
    QLabel *m_heading;
    QTreeWidget *m_list;
    QPushButton *m_restore;
    bool m_restored = false;
};

// Shows a new window for the file at path modally over parent and returns
// once the user has closed it: whether a backup was put back.
bool showRestoreWindow(QWidget *parent, const QString &path);

} // namespace kelvane
