#pragma once

#include "platform/drives.h"

#include <QWidget>

class QComboBox;

namespace kelvane {

// A drop-down of the drives. changed() follows every new drive, chosen by the
// user or written, before the write returns, and the drive shown chosen again.
// The drives are listed again as the list opens, and when asked; neither ever
// changes the drive shown. A game's entries show which copy of the game and
// which of its folders they open when closed, the whole text when open.
class DriveList final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DriveList)

public:
    // Starts on the drive of startDriveFolder().
    explicit DriveList(DriveSource source = browsableDrives, QWidget *parent = nullptr);

    QString drive() const;
    // Selects the drive named by text, a drive's own text or any path on it.
    // Text that names no listed drive leaves the selection as it is.
    void setDrive(const QString &text);
    // Lists the drives the source now gives, keeping the drive shown (listed
    // still when the source no longer gives it). Raises nothing.
    void listDrivesAgain();
    // Shows the game entry that opens folder itself in place of the drive
    // shown, when there is one. Raises nothing: the folder stays as it is.
    void showGameEntryFor(const QString &folder);

signals:
    void changed();

private:
    void openingList();
    void reloadDrives();
    int indexOfDrive(const QString &text) const;
    void followSelection(int index);

    DriveSource m_source;
    QStringList m_shownDrives;
    QComboBox *m_box;
    int m_shownIndex = -1;
    // The index just followed, whose activation that follows raises nothing more.
    int m_choiceFollowed = -1;
};

} // namespace kelvane
