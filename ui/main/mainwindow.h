#pragma once

#include "platform/drives.h"
#include "platform/gamesearch.h"

#include <QImage>
#include <QWidget>

namespace kelvane {

class MainController;

// The Main window: its controls in their fixed places, bound to
// their controller, loaded and ready to show.
class MainWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    // The drive lists offer the drives that drives gives; they, and the
    // checks, take the game folders from the program's search, games, each
    // time it ends. The window never starts a search.
    explicit MainWindow(DriveSource drives = browsableDrives,
                        const GameSearch &games = GameSearch::shared(), QWidget *parent = nullptr);

    MainController &controller() const { return *m_controller; }

protected:
    void paintEvent(QPaintEvent *event) override;
    // Centres the window on its screen the first time it is shown.
    void showEvent(QShowEvent *event) override;

private:
    MainController *m_controller = nullptr;
    QImage m_picture;
    bool m_placed = false;
};

} // namespace kelvane
