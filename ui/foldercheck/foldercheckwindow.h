#pragma once

#include "foldercheck/foldermends.h"
#include "foldercheck/folderreport.h"
#include "game/gamecheck.h"

#include <QDialog>
#include <QStringList>

#include <atomic>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTreeWidget;
class QTreeWidgetItem;

namespace kelvane {

// The Folder Check window: a folder of skins checked as the game would meet
// it, off the window's thread, with a progress bar and Cancel; the findings
// listed by file, each with a mend ticked by default (renumbering unticked);
// Mend Selected applies the ticked mends one by one and lists what was done.
// A navy dialog over Main, as Restore is.
class FolderCheckWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderCheckWindow)

public:
    // Checks folder at once, counting gameFolders when no game holds it;
    // textures are converted by convert.
    FolderCheckWindow(const QString &folder, const QStringList &gameFolders,
                      TextureConverter convert, QWidget *parent = nullptr);
    ~FolderCheckWindow() override;

    const FolderReport &report() const { return m_report; }

signals:
    // The check ended (cancelled or not) and its findings are listed.
    void checked();
    // The mends ticked were applied and what they did is listed.
    void mended();

public slots:
    // Cancels a check or mends under way, then closes.
    void reject() override;

private:
    void run(std::function<void()> work, void (FolderCheckWindow::*done)());
    void showProgress(qsizetype done, qsizetype total);
    void showReport();
    void mendSelected();
    void showMended();
    void updateMendButton();

    const QString m_folder;
    const QStringList m_gameFolders;
    const TextureConverter m_convert;
    QLabel *m_heading;
    QProgressBar *m_progress;
    QTreeWidget *m_list;
    QLabel *m_detail;
    QPlainTextEdit *m_done;
    QPushButton *m_mend;
    QPushButton *m_cancel;
    QPushButton *m_close;
    QThread *m_worker = nullptr;
    std::atomic<bool> m_cancelled = false;
    FolderReport m_report;
    // The findings ticked, and the item of each, while mends run.
    QList<Finding> m_mending;
    QList<QTreeWidgetItem *> m_mendingItems;
    QList<MendOutcome> m_outcomes;
};

// Shows the Folder Check window for folder over parent until it is closed.
void showFolderCheckWindow(QWidget *parent, const QString &folder, const QStringList &gameFolders,
                           const TextureConverter &convert);

} // namespace kelvane
