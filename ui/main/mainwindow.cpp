#include "ui/main/mainwindow.h"

#include "controls/commandbutton.h"
#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/label.h"
#include "controls/textbox.h"
#include "controls/windowplacement.h"
#include "platform/gamesearch.h"
#include "preview/textureconversion.h"
#include "ui/foldercheck/foldercheckwindow.h"
#include "ui/help/about.h"
#include "ui/help/helpwindow.h"
#include "ui/look/look.h"
#include "ui/look/twips.h"
#include "ui/main/filetooltips.h"
#include "ui/main/maincontroller.h"
#include "ui/main/maincontroltable.h"
#include "ui/main/mainwindowaccessibility.h"
#include "ui/main/mainwindowlook.h"
#include "ui/main/restorewindow.h"
#include "ui/preview/previewwindow.h"
#include "version.h"

#include <QPainter>
#include <QShortcut>

namespace kelvane {

namespace {

constexpr int kClientWidthTwips = 8535;
constexpr int kClientHeightTwips = 5940;

// The controls that take the focus, in the order Tab visits them; the
// table creates them in this order too.
void setTabOrderOf(const MainControls &c)
{
    const QList<QWidget *> order = {c.DirSkins, c.DirProps, c.FileSkins, c.FileProps,  c.txtNewName,
                                    c.cmdDoIt,  c.DrvProps, c.DrvSkins,  c.txtSavedTo, c.cmdHelp};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1]->focusProxy(), order[i]->focusProxy());
}

} // namespace

MainWindow::MainWindow(DriveSource drives, const GameSearch &games, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral(KELVANE_TITLE));
    setAccessibleName(QStringLiteral(KELVANE_TITLE));
    setFixedSize(pixelsFromTwips(kClientWidthTwips), pixelsFromTwips(kClientHeightTwips));
    applyWindowLook(*this);

    MainControls c;
    for (const MainControlRow &row : mainControlTable()) {
        QWidget *control = row.create(row, drives, this, c);
        control->setObjectName(QLatin1String(row.name));
        control->setGeometry(pixelsFromTwips(row.place));
        applyLook(*control, row);
        describeForAssistiveTechnology(*control, row);
    }
    c.cmdDoIt->setEnabled(false);
    setTabOrderOf(c);
    // Labels stay beneath the other controls: the drive lists cover the right
    // ends of the heading labels.
    for (Label *label : findChildren<Label *>(Qt::FindDirectChildrenOnly))
        label->lower();
    c.DirSkins->setFocus();

    m_picture = backgroundPicture();

    installFileToolTips(c);
    m_controller = new MainController(c, this, games);
    m_controller->setShowHelp([this] { showHelp(this); });
    m_controller->setShowAbout([this] { showAbout(this); });
    m_controller->setShowRestore([this](const QString &path) { showRestoreWindow(this, path); });
    m_controller->setShowPreview([this](const QString &characterPath, const QString &meshPath) {
        showPreviewWindow(this, characterPath, meshPath);
    });
    m_controller->setShowFolderCheck([this](const QString &folder) {
        QStringList games;
        for (const GameFolder &game : GameSearch::shared().games())
            games.append(game.folder);
        showFolderCheckWindow(this, folder, games, texture256ColoursOf);
    });
    m_controller->onMainLoad();

    // The usual help key opens the same window as the "?" button.
    new QShortcut(QKeySequence::HelpContents, this, [this] { m_controller->onCmdHelpClick(); });
}

void MainWindow::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
    QWidget::showEvent(event);
}

void MainWindow::paintEvent(QPaintEvent *)
{
    // Unscaled from the top-left corner; the window clips what is too large.
    QPainter(this).drawImage(0, 0, m_picture);
}

} // namespace kelvane
