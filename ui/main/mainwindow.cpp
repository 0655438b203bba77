#include "mainwindow.h"
#include "version.h"

#include "about.h"
#include "commandbutton.h"
#include "directorylist.h"
#include "drivelist.h"
#include "filelist.h"
#include "filetooltips.h"
#include "helpwindow.h"
#include "label.h"
#include "look.h"
#include "maincontroller.h"
#include "mainwindowaccessibility.h"
#include "mainwindowlook.h"
#include "textbox.h"
#include "twips.h"

#include <QPainter>
#include <QShortcut>

namespace kelvane {

namespace {

// Places of the controls in twips (15 to the pixel), left, top, width, height.
struct ControlPlace {
    const char *name;
    int left;
    int top;
    int width;
    int height;
};

constexpr ControlPlace kPlaces[] = {
    {"lblTitle", 120, 120, 2775, 375},    {"cmdHelp", 8160, 240, 255, 255},
    {"DrvSkins", 2880, 1200, 855, 315},   {"DrvProps", 7560, 1200, 855, 315},
    {"lblSkins", 120, 1320, 3615, 255},   {"lblProps", 3840, 1320, 4575, 255},
    {"DirSkins", 120, 1560, 3615, 1140},  {"DirProps", 3840, 1560, 4575, 1140},
    {"Label1", 120, 2880, 3615, 255},     {"Label2", 3840, 2880, 4575, 255},
    {"FileSkins", 120, 3120, 3615, 1170}, {"FileProps", 3840, 3120, 4575, 1170},
    {"lblInfo", 4320, 4320, 3615, 375},   {"lblNewName", 120, 4560, 3615, 255},
    {"txtNewName", 120, 4800, 3615, 285}, {"cmdDoIt", 3840, 4800, 4575, 295},
    {"lblSavedTo", 120, 5160, 3615, 255}, {"txtSavedTo", 120, 5400, 8295, 300},
};

constexpr int kClientWidthTwips = 8535;
constexpr int kClientHeightTwips = 5940;

QRect placeOf(const char *name)
{
    for (const ControlPlace &place : kPlaces) {
        if (qstrcmp(place.name, name) == 0)
            return {pixelsFromTwips(place.left), pixelsFromTwips(place.top),
                    pixelsFromTwips(place.width), pixelsFromTwips(place.height)};
    }
    Q_UNREACHABLE();
}

// Creates a control on window with its name and place.
template <typename Control, typename... Args>
Control *addControl(QWidget *window, const char *name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., window);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(placeOf(name));
    return control;
}

Label *addLabel(QWidget *window, const char *name, const QString &caption)
{
    return addControl<Label>(window, name, caption);
}

} // namespace

MainWindow::MainWindow(DriveSource drives, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral(KELVANE_TITLE));
    setFixedSize(pixelsFromTwips(kClientWidthTwips), pixelsFromTwips(kClientHeightTwips));

    // Tab follows the order in which the controls are created (a control and
    // the widget it forwards the focus to stay together), so the ten that take
    // the focus come first, in focus order.
    MainControls c;
    c.DirSkins = addControl<DirectoryList>(this, "DirSkins");
    c.DirProps = addControl<DirectoryList>(this, "DirProps");
    c.FileSkins = addControl<FileList>(this, "FileSkins", QStringLiteral("*.cmx"));
    c.FileProps = addControl<FileList>(this, "FileProps", QStringLiteral("*.skn"));
    c.txtNewName = addControl<TextBox>(this, "txtNewName");
    c.cmdDoIt = addControl<CommandButton>(this, "cmdDoIt",
                                          QStringLiteral("CREATE NEW CMX FILE WITH ATTACHMENT"));
    c.cmdDoIt->setEnabled(false);
    c.DrvProps = addControl<DriveList>(this, "DrvProps", drives);
    c.DrvSkins = addControl<DriveList>(this, "DrvSkins", drives);
    c.txtSavedTo = addControl<TextBox>(this, "txtSavedTo");
    c.cmdHelp = addControl<CommandButton>(this, "cmdHelp", QStringLiteral("?"));

    c.lblTitle = addLabel(this, "lblTitle", QStringLiteral(KELVANE_TITLE));
    addLabel(this, "lblSkins", QStringLiteral("Select your SKINS directory:"));
    addLabel(this, "lblProps", QStringLiteral("Select the directory of the mesh  to be appended:"));
    addLabel(this, "Label1", QStringLiteral("Existing CMX Files:"));
    addLabel(this, "Label2", QStringLiteral("Existing SKN Files:"));
    Label *lblInfo = addLabel(
        this, "lblInfo",
        QStringLiteral("*The selected mesh will be added to the new cmx file to create a new sim"));
    lblInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblInfo->setWordWrap(true);
    addLabel(this, "lblNewName", QStringLiteral("NAME OF NEW CMX FILE TO BE CREATED:"));
    addLabel(this, "lblSavedTo", QStringLiteral("DIRECTORY TO BE SAVED TO:"));

    // Labels stay beneath the other controls: the drive lists cover the right
    // ends of the heading labels.
    for (Label *label : findChildren<Label *>(Qt::FindDirectChildrenOnly))
        label->lower();

    applyLook(*this);
    describeForAssistiveTechnology(*this);
    c.DirSkins->setFocus();

    m_picture = backgroundPicture();

    installFileToolTips(c);
    m_controller = new MainController(c, this);
    m_controller->setShowHelp([this] { showHelp(this); });
    m_controller->setShowAbout([this] { showAbout(this); });
    m_controller->onMainLoad();

    // The usual help key opens the same window as the "?" button.
    new QShortcut(QKeySequence::HelpContents, this, [this] { m_controller->onCmdHelpClick(); });
}

void MainWindow::paintEvent(QPaintEvent *)
{
    // Unscaled from the top-left corner; the window clips what is too large.
    QPainter(this).drawPixmap(0, 0, m_picture);
}

} // namespace kelvane
