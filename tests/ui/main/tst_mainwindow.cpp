#include "controls/commandbutton.h"
#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/label.h"
#include "controls/messagebox.h"
#include "controls/modalwindow.h"
#include "controls/textbox.h"
#include "platform/gamesearch.h"
#include "platform/systempaths.h"
#include "tests/support/files.h"
#include "tests/support/widgets.h"
#include "ui/main/busywork.h"
#include "ui/main/maincontroller.h"
#include "ui/main/maincontrols.h"
#include "ui/main/mainwindow.h"
#include "ui/main/restorewindow.h"
#include "ui/main/startfolders.h"
#include "version.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

using namespace kelvane;
using namespace testsupport;

namespace {

QByteArray crlfLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")).toLatin1();
}

const QStringList kCharacterLines = {"// Character File. Copyright 1997, Maxis Inc.",
                                     "Version 300",
                                     "0",
                                     "1",
                                     "B001FAFit_01",
                                     "0",
                                     "0",
                                     "1",
                                     "PELVIS",
                                     "xskin-b001fafit_01-PELVIS-BODY",
                                     "0",
                                     "0"};
// Without a texture, and beside every file written into skins/, so that the
// game finds what it needs.
const QStringList kMeshLines = {"hat", "x", "1", "HEAD", "0"};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void loadSetsDefaults();
    void tabVisitsControlsInOrder();
    void nameProposal_data();
    void nameProposal();
    void folderProposalStopsOnceEdited();
    void createButtonNeedsBothSelections();
    void folderChangeDisablesCreateButton_data();
    void folderChangeDisablesCreateButton();
    void filesGoneFromDiskDisableCreateButton();
    void driveChangeToReadableDrive();
    void driveChangeToEmptyDriveIsTrapped_data();
    void driveChangeToEmptyDriveIsTrapped();
    void createWritesFileAndRefreshes();
    void failedCreateShowsErrorAndChangesNothing_data();
    void failedCreateShowsErrorAndChangesNothing();
#ifdef Q_OS_UNIX
    void createCutOffPartWayKeepsTheCharacterFile();
#endif
    void helpAndAboutOpenFromMain();

    // Trust
    void outputFolderMustBeAFullPath_data();
    void outputFolderMustBeAFullPath();
    void replacingAsksFirstAndKeepsABackup_data();
    void replacingAsksFirstAndKeepsABackup();
    void enterInTheRealQuestionAnswersNo();
    void attachingTheSameMeshTwiceAsksFirst();
    void whatTheGameLacksIsOfferedForCopyFirst();
    void severalCharacterFilesAreDressedInOneCreate();
    void slowWorkRunsOffTheWindowWhichSaysSo();

    // For players
    void startFoldersOpenThroughTheirDrives();
    void archiveEntriesMakeAFileInTheGameSkinsFolder();
    void archiveThatCannotBeReadSaysWhy();
    void folderThatCannotBeReadSaysWhy();
    void previousVersionRestoredFromTheFileMenu();
    void restoreWindowListsAtOnceAndReadsBackupsAfter();
    void restoreWindowOffersTheGamesOwnFirst();
    void gameSearchEndingMovesNoSide();
    void onlyShiftCtrlAndCtrlASelectSeveral();
    void overridingTheGamesOwnAsksAndIsPutBackFromItsEntry();

private:
    QString path(const QString &relative) const
    {
        return QDir::toNativeSeparators(m_dir->filePath(relative));
    }
    // The drive list, folder list and file list of the skins or the mesh side.
    struct Side {
        DriveList *drive;
        DirectoryList *folders;
        FileList *files;
    };
    Side side(bool skins) const
    {
        return skins ? Side{m_c.DrvSkins, m_c.DirSkins, m_c.FileSkins}
                     : Side{m_c.DrvProps, m_c.DirProps, m_c.FileProps};
    }
    bool createEnabled() const
    {
        return m_c.cmdDoIt->isEnabled();
    }
    QString focusedControl() const;
    void clickCreate() const
    {
        QTest::mouseClick(m_c.cmdDoIt->findChild<QPushButton *>(), Qt::LeftButton);
    }
    void selectBothFiles(const QString &characterFile);

    [[nodiscard]] bool findControls();
    void openBothFolders();
    [[nodiscard]] static bool clickFile(FileList *list, const QString &fileName);
    static void typeInto(TextBox *textBox, const QString &typed);
    [[nodiscard]] static bool chooseDrive(DriveList *driveList, const QString &drive);

    QTemporaryDir m_emptyWinePrefix;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
    MainControls m_c; // found by their object names
    QList<Message> m_messages;
    QString m_usbDrive;
    QString m_emptyDrive;
};

void TestMainWindow::initTestCase()
{
    // A prefix without drives keeps "/" the start folder whatever this machine holds.
    QVERIFY(m_emptyWinePrefix.isValid());
    qputenv("WINEPREFIX", QFile::encodeName(m_emptyWinePrefix.path()));
}

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *folder : {"skins/other", "props/sub", "usb/deep"})
        QVERIFY(QDir().mkpath(m_dir->filePath(QLatin1String(folder))));
    const QByteArray character = crlfLines(kCharacterLines);
    for (const char *name :
         {"B001FAFit_01.cmx", "C001MA_hat.cmx", "abc.cmx", "B001FAFi_x.cmx", "ab_cdefgh.cmx"})
        QVERIFY(writeFile(path(QStringLiteral("skins/") + QLatin1String(name)), character));
    QVERIFY(writeFile(path("skins/other/D001MA_x.cmx"), character));
    QVERIFY(writeFile(path("props/hat.skn"), crlfLines(kMeshLines)));
    QVERIFY(writeFile(path("skins/hat.skn"), crlfLines(kMeshLines)));
    QVERIFY(writeFile(path("props/broken.skn"), "only one line"));

    m_usbDrive = path("usb") + " [USB]";
    m_emptyDrive = path("nodisk") + " [Empty]";
    m_messages.clear();
    setMessageHandler([this](const Message &message) { m_messages.append(message); });

    const QStringList drives = {systemRoot(), m_usbDrive, m_emptyDrive};
    m_window = std::make_unique<MainWindow>([drives] { return drives; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QVERIFY(findControls());
}

bool TestMainWindow::findControls()
{
    const QObject &window = *m_window;
    return findChildNamed(window, "DrvSkins", m_c.DrvSkins) &&
           findChildNamed(window, "DirSkins", m_c.DirSkins) &&
           findChildNamed(window, "FileSkins", m_c.FileSkins) &&
           findChildNamed(window, "DrvProps", m_c.DrvProps) &&
           findChildNamed(window, "DirProps", m_c.DirProps) &&
           findChildNamed(window, "FileProps", m_c.FileProps) &&
           findChildNamed(window, "txtNewName", m_c.txtNewName) &&
           findChildNamed(window, "txtSavedTo", m_c.txtSavedTo) &&
           findChildNamed(window, "cmdDoIt", m_c.cmdDoIt) &&
           findChildNamed(window, "cmdHelp", m_c.cmdHelp) &&
           findChildNamed(window, "lblTitle", m_c.lblTitle);
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    setMessageHandler({});
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString TestMainWindow::focusedControl() const
{
    for (QWidget *widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (widget->parentWidget() == m_window.get())
            return widget->objectName();
    }
    return {};
}

void TestMainWindow::openBothFolders()
{
    QVERIFY(m_c.DirSkins->setPath(path("skins")));
    QVERIFY(m_c.DirProps->setPath(path("props")));
}

bool TestMainWindow::clickFile(FileList *list, const QString &fileName)
{
    return clickEntry(*list->findChild<QListView *>(), fileName);
}

void TestMainWindow::selectBothFiles(const QString &characterFile)
{
    openBothFolders();
    QVERIFY(clickFile(m_c.FileSkins, characterFile));
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
}

void TestMainWindow::typeInto(TextBox *textBox, const QString &typed)
{
    auto *edit = textBox->findChild<QLineEdit *>();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
}

bool TestMainWindow::chooseDrive(DriveList *driveList, const QString &drive)
{
    auto *box = driveList->findChild<QComboBox *>();
    const int index = box->findText(drive);
    if (index >= 0)
        box->setCurrentIndex(index);
    return index >= 0;
}

void TestMainWindow::loadSetsDefaults()
{
    for (const DirectoryList *folders : {m_c.DirSkins, m_c.DirProps})
        QCOMPARE(folders->path(), systemRoot());
    for (const FileList *files : {m_c.FileSkins, m_c.FileProps}) {
        QCOMPARE(files->path(), systemRoot());
        QCOMPARE(files->fileName(), QString());
    }
    QCOMPARE(m_c.txtNewName->text(), QString());
    QCOMPARE(m_c.txtSavedTo->text(), QString());
    QVERIFY(!createEnabled());
    QCOMPARE(m_window->controller().suffix(), QStringLiteral("new"));
    QVERIFY(!m_window->controller().savedToEdited());
    QCOMPARE(focusedControl(), QStringLiteral("DirSkins"));
    QVERIFY(m_messages.isEmpty());
}

void TestMainWindow::tabVisitsControlsInOrder()
{
    const QStringList order = {"DirSkins", "DirProps", "FileSkins", "FileProps",  "txtNewName",
                               "cmdDoIt",  "DrvProps", "DrvSkins",  "txtSavedTo", "cmdHelp"};
    for (const bool enabled : {false, true}) {
        m_c.cmdDoIt->setEnabled(enabled);
        QStringList expected = order;
        if (!enabled)
            expected.removeAll("cmdDoIt");
        expected.append("DirSkins");
        m_c.DirSkins->setFocus();
        QStringList visited = {focusedControl()};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(focusedControl());
        }
        QCOMPARE(visited, expected);

        QStringList visitedBack = {focusedControl()};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            visitedBack.prepend(focusedControl());
        }
        QCOMPARE(visitedBack, expected);
    }
}

void TestMainWindow::nameProposal_data()
{
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("proposal");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("9 characters") << ""
                                  << "B001FAFit_01.cmx"
                                  << "B001FAFit_new"
                                  << "new";
    QTest::newRow("7th is _") << ""
                              << "C001MA_hat.cmx"
                              << "C001MA_new"
                              << "new";
    QTest::newRow("short name whole") << ""
                                      << "abc.cmx"
                                      << "abc.cmx_new"
                                      << "new";
    QTest::newRow("_ inside 9") << ""
                                << "B001FAFi_x.cmx"
                                << "B001FAFi__new"
                                << "";
    QTest::newRow("_ early") << ""
                             << "ab_cdefgh.cmx"
                             << "ab_cdefgh_new"
                             << "cdefgh";
    QTest::newRow("edited suffix, 7th is _") << "B001FAFit_hat"
                                             << "C001MA_hat.cmx"
                                             << "C001MA_hat"
                                             << "hat";
    QTest::newRow("edited suffix") << "B001FAFit_hat"
                                   << "B001FAFit_01.cmx"
                                   << "B001FAFit_hat"
                                   << "hat";
    QTest::newRow("second field") << "a_b_c"
                                  << "abc.cmx"
                                  << "abc.cmx_b"
                                  << "b";
    QTest::newRow("empty suffix") << "B001FAFit_"
                                  << "B001FAFit_01.cmx"
                                  << "B001FAFit_"
                                  << "";
    QTest::newRow("no _ keeps suffix") << "B001FAFit"
                                       << "abc.cmx"
                                       << "abc.cmx_new"
                                       << "new";
}

void TestMainWindow::nameProposal()
{
    QFETCH(QString, typedFirst);
    QFETCH(QString, clicked);
    QFETCH(QString, proposal);
    QFETCH(QString, suffix);

    openBothFolders();
    typeInto(m_c.txtNewName, typedFirst);
    QVERIFY(clickFile(m_c.FileSkins, clicked));
    QCOMPARE(m_c.txtNewName->text(), proposal);
    QCOMPARE(m_window->controller().suffix(), suffix);
}

void TestMainWindow::folderProposalStopsOnceEdited()
{
    openBothFolders();
    const QString proposal = path("skins") + pathSeparator();
    QVERIFY(clickFile(m_c.FileSkins, "abc.cmx"));
    QCOMPARE(m_c.txtSavedTo->text(), proposal);
    QVERIFY(!m_window->controller().savedToEdited());

    QVERIFY(m_c.DirSkins->setPath(path("skins/other")));
    QVERIFY(clickFile(m_c.FileSkins, "D001MA_x.cmx"));
    QCOMPARE(m_c.txtSavedTo->text(), path("skins/other") + pathSeparator());

    typeInto(m_c.txtSavedTo, path("props"));
    QVERIFY(m_window->controller().savedToEdited());
    typeInto(m_c.txtSavedTo, path("skins/other") + pathSeparator());
    QVERIFY(m_window->controller().savedToEdited());
    QVERIFY(m_c.DirSkins->setPath(path("skins")));
    QVERIFY(clickFile(m_c.FileSkins, "abc.cmx"));
    QCOMPARE(m_c.txtSavedTo->text(), path("skins/other") + pathSeparator());
}

void TestMainWindow::createButtonNeedsBothSelections()
{
    openBothFolders();
    QVERIFY(clickFile(m_c.FileSkins, "abc.cmx"));
    QVERIFY(!createEnabled());
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
    QVERIFY(createEnabled());

    typeInto(m_c.txtNewName, "");
    typeInto(m_c.txtSavedTo, "");
    QVERIFY(createEnabled());
    QVERIFY(clickFile(m_c.FileSkins, "C001MA_hat.cmx"));
    QVERIFY(createEnabled());

    // Mesh side first.
    QVERIFY(m_c.DirSkins->setPath(path("skins/other")));
    QVERIFY(!createEnabled());
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
    QVERIFY(!createEnabled());
    QVERIFY(clickFile(m_c.FileSkins, "D001MA_x.cmx"));
    QVERIFY(createEnabled());
}

void TestMainWindow::folderChangeDisablesCreateButton_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("skins folder opened") << "DirSkins";
    QTest::newRow("mesh folder opened") << "DirProps";
    QTest::newRow("skins drive") << "DrvSkins";
    QTest::newRow("mesh drive") << "DrvProps";
}

void TestMainWindow::folderChangeDisablesCreateButton()
{
    QFETCH(QString, change);
    openBothFolders();
    QVERIFY(clickFile(m_c.FileSkins, "abc.cmx"));
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
    QVERIFY(createEnabled());

    const bool skinsSide = change.endsWith("Skins");
    const Side changed = side(skinsSide);
    if (change.startsWith("Dir")) {
        // The user opens a subfolder by keyboard.
        auto *view = changed.folders->findChild<QListWidget *>();
        QTest::keyClicks(view, skinsSide ? "other" : "sub");
        QTest::keyClick(view, Qt::Key_Return);
    } else {
        QVERIFY(chooseDrive(changed.drive, m_usbDrive));
    }
    QVERIFY(!createEnabled());
    QCOMPARE(changed.files->path(), changed.folders->path());
    QCOMPARE(changed.files->fileName(), QString());
    QCOMPARE(side(!skinsSide).files->fileName(),
             skinsSide ? QStringLiteral("hat.skn") : QStringLiteral("abc.cmx"));
}

void TestMainWindow::filesGoneFromDiskDisableCreateButton()
{
    // Another program renames the chosen character file, then the chosen mesh file.
    selectBothFiles("abc.cmx");
    QVERIFY(QFile::rename(path("skins/abc.cmx"), path("skins/abc.old")));
    QTRY_VERIFY(!createEnabled());
    selectBothFiles("C001MA_hat.cmx");
    QVERIFY(createEnabled());
    QVERIFY(QFile::rename(path("props/hat.skn"), path("props/hat.old")));
    QTRY_VERIFY(!createEnabled());

    // It removes the skins folder shown: the file list follows the folder above.
#ifdef Q_OS_WIN
    // Windows tells a watch on a folder at once that the folder is removed;
    // Wine keeps a folder removed by the program watching it until the watch ends.
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        QSKIP("Under Wine a watched folder stays until its watch ends");
#endif
    QVERIFY(m_c.DirSkins->setPath(path("skins/other")));
    QVERIFY(QDir(path("skins/other")).removeRecursively());
    QTRY_COMPARE(m_c.DirSkins->path(), path("skins"));
    QCOMPARE(m_c.FileSkins->path(), path("skins"));
}

void TestMainWindow::driveChangeToReadableDrive()
{
    QVERIFY(chooseDrive(m_c.DrvSkins, m_usbDrive));
    QCOMPARE(m_c.DirSkins->path(), path("usb"));
    QCOMPARE(m_c.FileSkins->path(), path("usb"));
    QCOMPARE(m_c.DirProps->path(), systemRoot());
    QVERIFY(m_messages.isEmpty());
}

void TestMainWindow::driveChangeToEmptyDriveIsTrapped_data()
{
    QTest::addColumn<QString>("side");
    QTest::newRow("skins") << "Skins";
    QTest::newRow("mesh") << "Props";
}

void TestMainWindow::driveChangeToEmptyDriveIsTrapped()
{
    QFETCH(QString, side);
    const Side changed = this->side(side == "Skins");
    const Side other = this->side(side != "Skins");
    QVERIFY(chooseDrive(changed.drive, m_usbDrive));
    QVERIFY(changed.folders->setPath(path("usb/deep")));
    QVERIFY(other.folders->setPath(path("props")));
    typeInto(m_c.txtNewName, "x_y");

    QVERIFY(chooseDrive(changed.drive, m_emptyDrive));

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().text, QStringLiteral("Nothing in specified drive!"));
    QCOMPARE(m_messages.first().title, QStringLiteral("Error"));
    QCOMPARE(m_messages.first().style, MessageStyle::Exclamation);
    QCOMPARE(changed.drive->drive(), m_usbDrive);
    QCOMPARE(changed.folders->path(), path("usb"));
    QCOMPARE(changed.files->path(), path("usb"));
    QCOMPARE(other.folders->path(), path("props"));
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("x_y"));
    QCOMPARE(m_window->controller().suffix(), QStringLiteral("y"));
}

void TestMainWindow::createWritesFileAndRefreshes()
{
    openBothFolders();
    QVERIFY(clickFile(m_c.FileSkins, "B001FAFit_01.cmx"));
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
    QTest::mouseClick(m_c.cmdDoIt->findChild<QPushButton *>(), Qt::LeftButton);

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().text, QStringLiteral("B001FAFit_new.cmx has been created"));
    QCOMPARE(m_messages.first().title, QStringLiteral("File Created"));
    QCOMPARE(m_messages.first().style, MessageStyle::Plain);
    QVERIFY(!createEnabled());

    QFile written(path("skins/B001FAFit_new.cmx"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QStringList expected = {"// Character File. Copyright 1997, Maxis Inc.",
                                  "Version 300",
                                  "0",
                                  "1",
                                  "B001FAFit_new",
                                  "0",
                                  "0",
                                  "2",
                                  "PELVIS",
                                  "xskin-b001fafit_01-PELVIS-BODY",
                                  "0",
                                  "0",
                                  "HEAD",
                                  "hat",
                                  "0",
                                  "0",
                                  "0",
                                  ""};
    QCOMPARE(written.readAll(), crlfLines(expected));

    // Listed, and nothing looks chosen while the button is greyed: a mesh
    // click alone does not enable it, a click on a character file does.
    auto *view = m_c.FileSkins->findChild<QListView *>();
    QVERIFY(entryNamed(*view, "B001FAFit_new.cmx").isValid());
    QCOMPARE(m_c.FileSkins->fileName(), QString());
    QVERIFY(view->selectionModel()->selectedIndexes().isEmpty());
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
    QVERIFY(!createEnabled());
    QVERIFY(clickFile(m_c.FileSkins, "B001FAFit_01.cmx"));
    QVERIFY(createEnabled());
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("B001FAFit_new"));
}

void TestMainWindow::failedCreateShowsErrorAndChangesNothing_data()
{
    QTest::addColumn<QString>("meshFile");
    QTest::addColumn<QString>("outputFolder");
    QTest::addColumn<QString>("namedInError");
    QTest::newRow("mesh file too short") << "broken.skn"
                                         << ""
                                         << "broken.skn";
    QTest::newRow("no such output folder") << "hat.skn"
                                           << "gone"
                                           << "gone";
    // Faults that bind root too, unlike permission bits.
    QTest::newRow("a file where the folder should be") << "hat.skn"
                                                       << "props/hat.skn"
                                                       << "hat.skn: the output folder is not";
    QTest::newRow("folder removed after it was typed") << "hat.skn"
                                                       << "usb/deep"
                                                       << "deep: the output folder does not";
}

void TestMainWindow::failedCreateShowsErrorAndChangesNothing()
{
    QFETCH(QString, meshFile);
    QFETCH(QString, outputFolder);
    QFETCH(QString, namedInError);
    openBothFolders();
    QVERIFY(clickFile(m_c.FileSkins, "B001FAFit_01.cmx"));
    QVERIFY(clickFile(m_c.FileProps, meshFile));
    if (!outputFolder.isEmpty())
        typeInto(m_c.txtSavedTo, path(outputFolder));
    if (outputFolder == QLatin1String("usb/deep"))
        QVERIFY(QDir(path(outputFolder)).removeRecursively());
    const QString savedTo = m_c.txtSavedTo->text();
    const QStringList skinsBefore = QDir(path("skins")).entryList(QDir::Files | QDir::Hidden);
    const QStringList propsBefore = QDir(path("props")).entryList(QDir::Files | QDir::Hidden);

    QTest::mouseClick(m_c.cmdDoIt->findChild<QPushButton *>(), Qt::LeftButton);

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().title, QStringLiteral("Error"));
    QCOMPARE(m_messages.first().style, MessageStyle::Exclamation);
    QVERIFY2(m_messages.first().text.contains(namedInError), qPrintable(m_messages.first().text));
    QCOMPARE(QDir(path("skins")).entryList(QDir::Files | QDir::Hidden), skinsBefore);
    QCOMPARE(QDir(path("props")).entryList(QDir::Files | QDir::Hidden), propsBefore);
    QVERIFY(createEnabled());
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("B001FAFit_new"));
    QCOMPARE(m_c.txtSavedTo->text(), savedTo);
    QCOMPARE(m_c.FileProps->fileName(), meshFile);
}

#ifdef Q_OS_UNIX
void TestMainWindow::createCutOffPartWayKeepsTheCharacterFile()
{
    // The output replaces the character file read, and the disk "fills up" on the way.
    QStringList lines = kCharacterLines;
    lines[7] = QStringLiteral("300");
    for (int k = 1; k < 300; ++k)
        lines << "SPINE"
              << "xskin-b001fafit_01-SPINE-BODY"
              << "0"
              << "0";
    const QByteArray original = crlfLines(lines);
    QVERIFY(writeFile(path("skins/B001FAFit_01.cmx"), original));
    openBothFolders();
    QVERIFY(clickFile(m_c.FileSkins, "B001FAFit_01.cmx"));
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
    typeInto(m_c.txtNewName, "B001FAFit_01");
    const QStringList skinsBefore = QDir(path("skins")).entryList(QDir::Files | QDir::Hidden);

    rlimit limit{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlim_t previous = limit.rlim_cur;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    setNextAnswer(MessageButton::Yes);
    QTest::mouseClick(m_c.cmdDoIt->findChild<QPushButton *>(), Qt::LeftButton);
    limit.rlim_cur = previous;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(m_messages.size(), 2);
    QCOMPARE(m_messages.first().title, QStringLiteral("File Exists"));
    QCOMPARE(m_messages.last().title, QStringLiteral("Error"));
    QVERIFY2(m_messages.last().text.contains("B001FAFit_01.cmx: the file cannot be written"),
             qPrintable(m_messages.last().text));
    QFile kept(path("skins/B001FAFit_01.cmx"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), original);
    QCOMPARE(QDir(path("skins")).entryList(QDir::Files | QDir::Hidden), skinsBefore);
    QVERIFY(createEnabled());
}
#endif

void TestMainWindow::helpAndAboutOpenFromMain()
{
    QStringList modalWindows;
    setModalHandler([&](QDialog &window) { modalWindows.append(window.objectName()); });
    QTest::mouseClick(m_c.cmdHelp->findChild<QPushButton *>(), Qt::LeftButton);
    setModalHandler({});
    QCOMPARE(modalWindows, QStringList{QStringLiteral("Help")});

    QTest::mouseClick(m_c.lblTitle, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].title, QStringLiteral("About " KELVANE_TITLE));
    QCOMPARE(m_messages[0].style, MessageStyle::Plain);
}

void TestMainWindow::outputFolderMustBeAFullPath_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written"); // empty when refused
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("relative") << "skins"
                              << "";
#ifndef Q_OS_WIN // where a drive letter stands for the Wine prefix's drive
    QTest::newRow("drive the prefix lacks") << "Q:\\Games"
                                            << "";
    QTest::newRow("drive the prefix maps") << "c:\\games/OUT\\"
                                           << "prefix/drive_c/Games/Out/abc.cmx_new.cmx";
#endif
}

void TestMainWindow::outputFolderMustBeAFullPath()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    const QByteArray emptyPrefix = qgetenv("WINEPREFIX");
#ifndef Q_OS_WIN
    QVERIFY(QDir().mkpath(path("prefix/drive_c/Games/Out")));
    QVERIFY(writeFile(path("prefix/drive_c/Games/Out/hat.skn"), crlfLines(kMeshLines)));
    QVERIFY(QDir().mkpath(path("prefix/dosdevices")));
    QVERIFY(QFile::link("../drive_c", path("prefix/dosdevices/c:")));
    qputenv("WINEPREFIX", QFile::encodeName(path("prefix")));
#endif
    // Relative to the folder the program was started in, the output would land there.
    const QString startedIn = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    selectBothFiles("abc.cmx");
    typeInto(m_c.txtSavedTo, typed);
    clickCreate();
    qputenv("WINEPREFIX", emptyPrefix);
    QDir::setCurrent(startedIn);

    QCOMPARE(m_messages.size(), 1);
    if (written.isEmpty()) {
        QVERIFY2(m_messages.first().text.contains("Type the full path of the folder"),
                 qPrintable(m_messages.first().text));
        QVERIFY(!QFile::exists(path("skins/abc.cmx_new.cmx")));
    } else {
        QCOMPARE(m_messages.first().title, QStringLiteral("File Created"));
        QVERIFY(QFile::exists(path(written)));
    }
}

void TestMainWindow::replacingAsksFirstAndKeepsABackup_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("no") << false;
    QTest::newRow("yes, .bak taken") << true;
}

void TestMainWindow::replacingAsksFirstAndKeepsABackup()
{
    QFETCH(bool, yes);
    const QByteArray old = characterFile({{"HEAD", "old"}});
    QVERIFY(writeFile(path("skins/abc.cmx_new.cmx"), old));
    QVERIFY(writeFile(path("skins/abc.cmx_new.cmx.bak"), "older"));
    selectBothFiles("abc.cmx");
    setNextAnswer(yes ? MessageButton::Yes : MessageButton::No);
    clickCreate();

    QCOMPARE(m_messages.size(), yes ? 2 : 1);
    const Message question = m_messages.first();
    QCOMPARE(question.title, QStringLiteral("File Exists"));
    QCOMPARE(question.style, MessageStyle::Question);
    QCOMPARE(question.buttons, (QList{MessageButton::Yes, MessageButton::No}));
    QCOMPARE(question.defaultButton, MessageButton::No);
    for (const QString &named :
         {QStringLiteral("abc.cmx_new.cmx"), path("skins"), QStringLiteral("abc.cmx_new.cmx.bak2")})
        QVERIFY2(question.text.contains(named), qPrintable(question.text));
    QCOMPARE(readFile(path("skins/abc.cmx_new.cmx")) == old, !yes);
    QCOMPARE(readFile(path("skins/abc.cmx_new.cmx.bak")), QByteArray("older"));
    QCOMPARE(QFile::exists(path("skins/abc.cmx_new.cmx.bak2")), yes);
    if (yes) {
        QCOMPARE(readFile(path("skins/abc.cmx_new.cmx.bak2")), old);
        QCOMPARE(m_messages[1].text, QStringLiteral("abc.cmx_new.cmx has been created\n"
                                                    "Its previous content is kept as "
                                                    "abc.cmx_new.cmx.bak2."));
    }
    QCOMPARE(createEnabled(), !yes);
}

void TestMainWindow::enterInTheRealQuestionAnswersNo()
{
    // A name that reads as markup is shown as typed.
    QVERIFY(writeFile(path("skins/zero_&lt;b&gt;.cmx"), characterFile({{"HEAD", "old"}})));
    openBothFolders();
    QVERIFY(clickFile(m_c.FileSkins, "abc.cmx"));
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
    typeInto(m_c.txtNewName, "zero_&lt;b&gt;");
    setMessageHandler({});
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    // Answered once the box is up: the window may work a while before it asks.
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&answer, &shown, &format] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            answer.stop();
            shown = box->windowTitle();
            format = box->textFormat();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    answer.start(0);
    clickCreate();
    QCOMPARE(shown, QStringLiteral("File Exists"));
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(readFile(path("skins/zero_&lt;b&gt;.cmx")), characterFile({{"HEAD", "old"}}));
}

void TestMainWindow::attachingTheSameMeshTwiceAsksFirst()
{
    QVERIFY(writeFile(path("skins/hatted.cmx"),
                      characterFile({{"PELVIS", "xskin-body"}, {"HEAD", "hat"}})));
    selectBothFiles("hatted.cmx");
    clickCreate();

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().title, QStringLiteral("Already Attached"));
    for (const char *named : {"\"hat\"", "HEAD"})
        QVERIFY2(m_messages.first().text.contains(named), qPrintable(m_messages.first().text));
    QVERIFY(!QFile::exists(path("skins/hatted.cm_new.cmx")));
}

void TestMainWindow::whatTheGameLacksIsOfferedForCopyFirst()
{
    QVERIFY(writeFile(path("props/glasses.skn"), "glasses\r\nglasses-tex\r\n1\r\nHEAD\r\n"));
    QByteArray bmp = "BM" + QByteArray(52, '\0');
    bmp[28] = 8;
    QVERIFY(writeFile(path("props/Glasses-Tex.BMP"), bmp));
    openBothFolders();
    QVERIFY(clickFile(m_c.FileSkins, "abc.cmx"));
    QVERIFY(clickFile(m_c.FileProps, "glasses.skn"));

    setNextAnswer(MessageButton::Cancel);
    clickCreate();
    QCOMPARE(m_messages.size(), 1);
    const Message question = m_messages.first();
    QCOMPARE(question.title, QStringLiteral("Check Before Creating"));
    QCOMPARE(question.style, MessageStyle::Exclamation);
    QCOMPARE(question.buttons, (QList{MessageButton::CopyAndCreate, MessageButton::CreateOnly,
                                      MessageButton::Cancel}));
    QCOMPARE(question.defaultButton, MessageButton::CopyAndCreate);
    for (const char *named : {"glasses.skn", "glasses-tex.bmp", "crashes", "grey or white"})
        QVERIFY2(question.text.contains(named), qPrintable(question.text));
    QVERIFY(!QFile::exists(path("skins/abc.cmx_new.cmx")));

    // In the real boxes Escape cancels, and Return copies and creates.
    setMessageHandler({});
    QStringList shown;
    Qt::Key key = Qt::Key_Escape;
    QTimer answering;
    connect(&answering, &QTimer::timeout, this, [&shown, &key] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown.append(box->windowTitle() + QLatin1Char('|') + box->text());
            QTest::keyClick(box, key);
        }
    });
    answering.start(0);
    clickCreate();
    QCOMPARE(shown.size(), 1);
    QVERIFY(!QFile::exists(path("skins/abc.cmx_new.cmx")));
    QVERIFY(!QFile::exists(path("skins/glasses.skn")));
    key = Qt::Key_Return;
    clickCreate();
    QCOMPARE(shown.size(), 3);
    QVERIFY2(shown.last().startsWith("File Created|abc.cmx_new.cmx has been created\n\nCopied"),
             qPrintable(shown.last()));
    QCOMPARE(readFile(path("skins/glasses.skn")), readFile(path("props/glasses.skn")));
    QCOMPARE(readFile(path("skins/glasses-tex.bmp")), bmp);
    QVERIFY(QFile::exists(path("skins/abc.cmx_new.cmx")));
}

// Each question is asked once for all files; No to "Already Attached" leaves
// those files out, and one box lists what was created.
// Work such as converting a texture runs on a thread of its own: the window's
// thread keeps turning (here it lets the work end), the cursor is busy, and a
// box over the window says what is being done.
void TestMainWindow::slowWorkRunsOffTheWindowWhichSaysSo()
{
    QSemaphore seen;
    QString said;
    std::optional<Qt::CursorShape> cursor;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        const auto *box = m_window->findChild<QProgressDialog *>();
        if (box && box->isVisible()) {
            watch.stop();
            said = box->labelText();
            if (const QCursor *busy = QGuiApplication::overrideCursor())
                cursor = busy->shape();
            seen.release();
        }
    });
    watch.start(0);
    const QThread *windowThread = QThread::currentThread();
    const auto [offTheWindow, released] = whileBusy(m_window.get(), "Converting", [&] {
        return std::pair{QThread::currentThread() != windowThread, seen.tryAcquire(1, 60'000)};
    });
    QVERIFY(offTheWindow);
    QVERIFY(released);
    QCOMPARE(said, QStringLiteral("Converting"));
    QCOMPARE(cursor, std::optional(Qt::BusyCursor));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(!m_window->findChild<QProgressDialog *>());
}

void TestMainWindow::severalCharacterFilesAreDressedInOneCreate()
{
    const QByteArray hatted = characterFile({{"HEAD", "hat"}});
    QVERIFY(writeFile(path("skins/ab_cdefgh.cmx"), hatted));
    const QByteArray old = characterFile({{"PELVIS", "old"}});
    QVERIFY(writeFile(path("skins/C001MA_fam.cmx"), old));
    openBothFolders();
    auto *list = m_c.FileSkins->findChild<QListView *>();
    QVERIFY(clickFile(m_c.FileSkins, "abc.cmx"));
    QVERIFY(clickEntry(*list, "B001FAFit_01.cmx", Qt::ShiftModifier));
    for (const char *toggled : {"abc.cmx", "B001FAFi_x.cmx", "C001MA_hat.cmx", "ab_cdefgh.cmx"})
        QVERIFY(clickEntry(*list, toggled, Qt::ControlModifier));
    QVERIFY(clickFile(m_c.FileProps, "hat.skn"));
    QCOMPARE(m_c.FileSkins->fileNames(),
             (QStringList{"ab_cdefgh.cmx", "B001FAFit_01.cmx", "C001MA_hat.cmx"}));
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("*_new"));
    typeInto(m_c.txtNewName, "*_fam");

    setMessageHandler([this](const Message &message) {
        m_messages.append(message);
        if (message.title == QStringLiteral("File Exists"))
            setNextAnswer(MessageButton::Yes);
    });
    clickCreate();
    QStringList titles;
    for (const Message &message : std::as_const(m_messages))
        titles.append(message.title);
    QCOMPARE(titles, (QStringList{"Already Attached", "File Exists", "Files Created"}));
    QVERIFY2(m_messages[0].text.contains("ab_cdefgh.cmx") && !m_messages[0].text.contains("C001"),
             qPrintable(m_messages[0].text));
    QVERIFY2(m_messages[1].text.contains("C001MA_fam.cmx (kept as C001MA_fam.cmx.bak)"),
             qPrintable(m_messages[1].text));
    for (const char *created : {"B001FAFit_fam.cmx", "C001MA_fam.cmx"})
        QVERIFY2(m_messages[2].text.contains(created), qPrintable(m_messages[2].text));
    QVERIFY(!QFile::exists(path("skins/ab_cdefgh_fam.cmx")));
    QCOMPARE(readFile(path("skins/C001MA_fam.cmx.bak")), old);
    QVERIFY(readFile(path("skins/B001FAFit_fam.cmx")).contains("HEAD\r\nhat"));

    // Nothing is left selected, nor the name of several; the suffix carries
    // over to every file, and back to one.
    QVERIFY(m_c.FileSkins->fileNames().isEmpty());
    QCOMPARE(m_c.txtNewName->text(), QString());
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_c.FileSkins->fileNames().size(), 7);
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("*_fam"));
    QVERIFY(clickFile(m_c.FileSkins, "C001MA_hat.cmx"));
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("C001MA_fam"));
}

void TestMainWindow::startFoldersOpenThroughTheirDrives()
{
    QCOMPARE(openStartFolders(m_window->controller(), {path("usb/deep")}), QStringList());
    for (const Side shown : {side(true), side(false)}) {
        QCOMPARE(shown.drive->drive(), m_usbDrive);
        QCOMPARE(shown.folders->path(), path("usb/deep"));
        QCOMPARE(shown.files->path(), path("usb/deep"));
    }

    const QStringList messages =
        openStartFolders(m_window->controller(), {path("skins"), path("gone")});
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(path("gone")), qPrintable(messages.first()));
    QCOMPARE(m_c.DrvSkins->drive(), systemRoot());
    QCOMPARE(m_c.FileSkins->path(), path("skins"));
    QCOMPARE(m_c.FileProps->path(), path("usb/deep"));
}

void TestMainWindow::archiveEntriesMakeAFileInTheGameSkinsFolder()
{
    // An expansion's archive beside GameData, as the game installs it.
    QVERIFY(QDir().mkpath(path("Game/ExpansionShared")));
    QVERIFY(QDir().mkpath(path("Game/GameData/Skins")));
    const QString archive = path("Game/ExpansionShared/ExpansionShared.far");
    BinaryCharacter body;
    body.skins = {{"PELVIS", "xskin-b001fafit_01-PELVIS-BODY"}};
    const QByteArray archived =
        farArchive({{"Skins\\B001FAFit_01.cmx.bcf", binaryCharacterFile(body)},
                    {"Skins\\glasses.bmf", binaryMeshFile("glasses", "glasses-tex", {"HEAD"})},
                    {"Skins\\notes.txt", "not listed"},
                    {"Textures\\glasses-tex.bmp", "BM"}});
    QVERIFY(writeFile(archive, archived));

    // The mesh side opened as a start folder spelt in another case, the skins side by hand.
    const QString skins = archive + QDir::separator() + "Skins";
    QCOMPARE(openStartFolders(m_window->controller(),
                              {path("Game/ExpansionShared"), archive + "/skins"}),
             QStringList());
    QCOMPARE(m_c.FileProps->path(), skins);
    auto *folders = m_c.DirSkins->findChild<QListWidget *>();
    for (const char *opened : {"ExpansionShared.far", "Skins"}) {
        QVERIFY(clickEntry(*folders, opened));
        QVERIFY(doubleClickEntry(*folders, opened));
    }
    QCOMPARE(m_c.FileSkins->path(), skins);

    QCOMPARE(entryTexts(*m_c.FileSkins->findChild<QListView *>()),
             QStringList{"B001FAFit_01.cmx.bcf"});
    QCOMPARE(entryTexts(*m_c.FileProps->findChild<QListView *>()), QStringList{"glasses.bmf"});
    QVERIFY(clickFile(m_c.FileSkins, "B001FAFit_01.cmx.bcf"));
    QVERIFY(clickFile(m_c.FileProps, "glasses.bmf"));
    QCOMPARE(m_c.txtSavedTo->text(), path("Game/GameData/Skins") + pathSeparator());
    clickCreate();

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().title, QStringLiteral("File Created"));
    QVERIFY(QFile::exists(path("Game/GameData/Skins/B001FAFit_new.cmx.bcf")));
    QCOMPARE(readFile(archive), archived);
}

void TestMainWindow::archiveThatCannotBeReadSaysWhy()
{
    QVERIFY(writeFile(path("skins/Packed.far"), farArchive({{"a.cmx", "x"}}, 3, 4)));
    openBothFolders();
    auto *folders = m_c.DirSkins->findChild<QListWidget *>();
    QVERIFY(clickEntry(*folders, "Packed.far"));
    QVERIFY(doubleClickEntry(*folders, "Packed.far"));

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().title, QStringLiteral("Error"));
    QCOMPARE(m_messages.first().style, MessageStyle::Exclamation);
    for (const char *named : {"Packed.far", "version 3"})
        QVERIFY2(m_messages.first().text.contains(named), qPrintable(m_messages.first().text));
    QCOMPARE(m_c.DirSkins->path(), path("skins"));
    QCOMPARE(m_c.FileSkins->path(), path("skins"));
}

// The file list's menu opens on the entry clicked with the right button, or
// on the selected one by Shift+F10; its window lists the backups newest first
// and restores the one chosen once the user says Yes.
void TestMainWindow::previousVersionRestoredFromTheFileMenu()
{
    const QByteArray original = readFile(path("skins/abc.cmx"));
    for (const auto &[name, daysAgo] : {std::pair{"abc.cmx.bak", 2}, {"abc.cmx.bak2", 1}}) {
        QFile backup(path(QStringLiteral("skins/") + QLatin1String(name)));
        QVERIFY(backup.open(QIODevice::WriteOnly));
        backup.write(daysAgo == 2 ? characterFile({{"PELVIS", "old"}}) : "no character file");
        backup.flush();
        QVERIFY(backup.setFileTime(QDateTime::currentDateTime().addDays(-daysAgo),
                                   QFileDevice::FileModificationTime));
    }
    openBothFolders();
    auto *files = m_c.FileSkins->findChild<QListView *>();
    const auto menuCommand = [] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QAction *command = menu ? menu->findChild<QAction *>("mnuRestore") : nullptr;
        if (menu)
            menu->close();
        return command;
    };

    QVERIFY(clickFile(m_c.FileSkins, "B001FAFit_01.cmx"));
    QTest::keyClick(files, Qt::Key_F10, Qt::ShiftModifier);
    QAction *restore = menuCommand();
    QVERIFY(restore);
    QVERIFY2(!restore->isEnabled(), "the file has no backup");
    const QPoint entry = files->visualRect(entryNamed(*files, "abc.cmx")).center();
    QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {},
                      files->viewport()->mapTo(m_window.get(), entry));
    QCOMPARE(m_c.FileSkins->fileName(), QStringLiteral("abc.cmx"));
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("abc.cmx_new"));
    QVERIFY(menuCommand() == restore && restore->isEnabled());

    QStringList listed;
    QString skins;
    bool centred = false;
    setModalHandler([&](QDialog &window) {
        centred =
            (window.geometry().center() - m_window->geometry().center()).manhattanLength() <= 2;
        window.show();
        auto *backups = window.findChild<QTreeWidget *>("lstBackups");
        const auto kept = [backups](int column) {
            QStringList texts;
            for (int row = 0; row < backups->topLevelItemCount(); ++row)
                texts << backups->topLevelItem(row)->text(column);
            return texts;
        };
        listed = kept(3);
        QTRY_VERIFY(!kept(2).contains(QStringLiteral("\u2026")));
        skins = kept(2).join(QLatin1Char(' '));
        QTest::keyClick(backups, Qt::Key_Down);
        QTest::keyClick(backups, Qt::Key_Return);
        setNextAnswer(MessageButton::Yes);
        QTest::keyClick(backups, Qt::Key_Return);
        listed += kept(3);
        QTest::keyClick(backups, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    });
    QTest::keyClick(files, Qt::Key_Menu);
    QAction *chosen = menuCommand();
    QVERIFY(chosen && chosen->isEnabled());
    chosen->trigger();
    setModalHandler({});

    QVERIFY(centred);
    QCOMPARE(listed, (QStringList{"abc.cmx.bak2", "abc.cmx.bak", "abc.cmx.bak3", "abc.cmx.bak2",
                                  "abc.cmx.bak"}));
    QCOMPARE(skins, QStringLiteral("? 1"));
    QCOMPARE(m_messages.size(), 3);
    const Message &question = m_messages[0];
    QCOMPARE(question.title, QStringLiteral("Restore Previous Version"));
    QCOMPARE(question.defaultButton, MessageButton::No);
    QVERIFY2(question.text.startsWith("Put the content of abc.cmx.bak (saved ") &&
                 question.text.endsWith(") back into abc.cmx?\n\nIts current content will be "
                                        "kept as abc.cmx.bak3."),
             qPrintable(question.text));
    QCOMPARE(m_messages[2].title, QStringLiteral("File Restored"));
    QCOMPARE(m_messages[2].text, QStringLiteral("abc.cmx has been restored from abc.cmx.bak\n"
                                                "Its previous content is kept as abc.cmx.bak3."));
    QCOMPARE(readFile(path("skins/abc.cmx")), characterFile({{"PELVIS", "old"}}));
    QCOMPARE(readFile(path("skins/abc.cmx.bak3")), original);
    QCOMPARE(m_c.FileSkins->fileName(), QStringLiteral("abc.cmx"));
}

// The backups' skins are read off the window's thread, a backup too large for
// a character file not at all; the list works meanwhile.
void TestMainWindow::restoreWindowListsAtOnceAndReadsBackupsAfter()
{
    const QString file = path("skins/abc.cmx");
    const QDateTime now = QDateTime::currentDateTime();
    for (const auto &[name, bytes] : {std::pair{".bak", 100}, {".bak2", 2 * 1024 * 1024}}) {
        QFile backup(file + QLatin1String(name));
        QVERIFY(backup.open(QIODevice::WriteOnly));
        backup.write(crlfLines(kCharacterLines));
        QVERIFY(backup.resize(qMax<qint64>(bytes, backup.size())));
        QVERIFY(backup.setFileTime(now.addSecs(-bytes), QFileDevice::FileModificationTime));
    }
    RestoreWindow window(file);
    auto *backups = window.findChild<QTreeWidget *>("lstBackups");
    const auto column = [backups](int at) {
        QStringList texts;
        for (int row = 0; row < backups->topLevelItemCount(); ++row)
            texts << backups->topLevelItem(row)->text(at);
        return texts.join(QLatin1Char(' '));
    };
    QCOMPARE(column(3), QStringLiteral("abc.cmx.bak abc.cmx.bak2"));
    QCOMPARE(column(2), QStringLiteral("\u2026 \u2026"));
    QTest::keyClick(backups, Qt::Key_Down);
    QCOMPARE(backups->currentItem()->text(3), QStringLiteral("abc.cmx.bak2"));
    QTRY_COMPARE(column(2), QStringLiteral("1 ?"));
    QVERIFY2(backups->topLevelItem(1)->toolTip(0).contains("2.0 MB, larger than a character file"),
             qPrintable(backups->topLevelItem(1)->toolTip(0)));
    QVERIFY(backups->topLevelItem(0)->toolTip(2).contains("PELVIS"));
}

// A loose file named as one of the game's bodies: its first row puts the
// game's own back, after asking, by moving the file to a backup; that backup
// is then listed and selected, to be put back in turn.
void TestMainWindow::restoreWindowOffersTheGamesOwnFirst()
{
    QVERIFY(QDir().mkpath(path("Game/GameData/Skins")));
    QVERIFY(QDir().mkpath(path("Game/ExpansionShared")));
    QVERIFY(writeFile(path("Game/ExpansionShared/ExpansionShared.far"),
                      farArchive({{"Skins\\B912FAFit_brudeMI.cmx.bcf", "game's own"}})));
    const QString file = path("Game/GameData/Skins/B912FAFit_brudeMI.cmx.bcf");
    QVERIFY(writeFile(file, "loose"));
    QVERIFY(writeFile(file + ".bak", "older"));

    RestoreWindow window(file);
    window.show();
    auto *rows = window.findChild<QTreeWidget *>("lstBackups");
    QCOMPARE(rows->topLevelItemCount(), 2);
    QCOMPARE(rows->topLevelItem(0)->text(0),
             QStringLiteral("The game's own (ExpansionShared.far)"));
    QCOMPARE(rows->topLevelItem(1)->text(3), QStringLiteral("B912FAFit_brudeMI.cmx.bcf.bak"));
    QCOMPARE(rows->currentItem(), rows->topLevelItem(0));
    setNextAnswer(MessageButton::Yes);
    QTest::keyClick(rows, Qt::Key_Return);

    QVERIFY(window.restored());
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(readFile(file + ".bak2"), QByteArray("loose"));
    QCOMPARE(readFile(file + ".bak"), QByteArray("older"));
    QCOMPARE(m_messages.size(), 2);
    for (const Message &message : std::as_const(m_messages))
        QVERIFY2(message.text.contains("B912FAFit_brudeMI.cmx.bcf.bak2"), qPrintable(message.text));
    QCOMPARE(rows->currentItem()->text(3), QStringLiteral("B912FAFit_brudeMI.cmx.bcf.bak2"));
}

void TestMainWindow::folderThatCannotBeReadSaysWhy()
{
    const QString locked = path("skins/locked");
    QVERIFY(QDir().mkpath(locked));
    const bool lockedOut = QFile::setPermissions(locked, {});
    const auto unlock = qScopeGuard([&] {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (!lockedOut || DirectoryList::canList(locked))
        QSKIP("Permissions do not keep this user out of a folder (root, or Windows)");
    openBothFolders();
    auto *folders = m_c.DirSkins->findChild<QListWidget *>();
    QVERIFY(clickEntry(*folders, "locked"));
    QVERIFY(doubleClickEntry(*folders, "locked"));
    QTest::keyClick(folders, Qt::Key_Return);

    QCOMPARE(m_messages.size(), 2);
    for (const Message &message : std::as_const(m_messages)) {
        QCOMPARE(message.title, QStringLiteral("Error"));
        QCOMPARE(message.style, MessageStyle::Exclamation);
        QCOMPARE(message.text, locked + ": the folder cannot be opened (permission denied).");
    }
    QCOMPARE(m_c.DirSkins->path(), path("skins"));
    QCOMPARE(m_c.FileSkins->path(), path("skins"));
}

// The game's Skins entry chosen on the left, a subfolder opened and a file
// chosen there: opening the mesh side's drive list starts no search, and a
// search ending adds its entries without moving either side.
void TestMainWindow::gameSearchEndingMovesNoSide()
{
    QVERIFY(QDir().mkpath(path("Game/GameData/Skins/sub")));
    QVERIFY(writeFile(path("Game/GameData/Skins/sub/D001MA_x.cmx"), crlfLines(kCharacterLines)));
    const QString skins = path("Game/GameData/Skins");
    const GameFolder game{"The Sims", path("Game"), skins};
    GameSearch games([game](QStringList *) { return QList{game}; });
    MainWindow window([&] { return QStringList{systemRoot()} + gameDriveEntries(games.games()); },
                      games);
    Side skinsSide, meshSide;
    CommandButton *create = nullptr;
    QVERIFY(findChildNamed(window, "DrvSkins", skinsSide.drive) &&
            findChildNamed(window, "DirSkins", skinsSide.folders) &&
            findChildNamed(window, "FileSkins", skinsSide.files) &&
            findChildNamed(window, "DrvProps", meshSide.drive) &&
            findChildNamed(window, "DirProps", meshSide.folders) &&
            findChildNamed(window, "FileProps", meshSide.files) &&
            findChildNamed(window, "cmdDoIt", create));
    window.show();
    // A folder opened before the search ends shows as the game's once it has.
    QVERIFY(window.controller().openPropsFolder(path("props")));
    QVERIFY(window.controller().openSkinsFolder(skins));
    games.start();
    QTRY_VERIFY(!games.running());
    const QString entry = "The Sims: GameData" + pathSeparator() + "Skins";
    QCOMPARE(skinsSide.drive->drive(), entry);
    QVERIFY(skinsSide.folders->setPath(path("Game/GameData/Skins/sub")));
    QVERIFY(clickFile(skinsSide.files, "D001MA_x.cmx"));
    QVERIFY(clickFile(meshSide.files, "hat.skn"));

    auto *meshDrives = meshSide.drive->findChild<QComboBox *>();
    QTest::mouseClick(meshDrives, Qt::LeftButton);
    QTRY_VERIFY(meshDrives->view()->isVisible());
    QTest::keyClick(meshDrives->view(), Qt::Key_Escape);
    games.start();
    QTRY_VERIFY(!games.running());
    QCOMPARE(skinsSide.drive->drive(), entry);
    QCOMPARE(skinsSide.folders->path(), path("Game/GameData/Skins/sub"));
    QCOMPARE(skinsSide.files->fileName(), QStringLiteral("D001MA_x.cmx"));
    QCOMPARE(meshSide.folders->path(), path("props"));
    QVERIFY(create->isEnabled());
}

// Rows are a few pixels high: a press on one and a release on another after
// moving chooses the last, alone. Several files are chosen only on purpose,
// and the name box then tells how many and the names they take.
void TestMainWindow::onlyShiftCtrlAndCtrlASelectSeveral()
{
    openBothFolders();
    QListView *files = m_c.FileSkins->findChild<QListView *>();
    const auto centre = [files](const char *name) {
        return files->visualRect(entryNamed(*files, QLatin1String(name))).center();
    };
    QTest::mousePress(files->viewport(), Qt::LeftButton, {}, centre("C001MA_hat.cmx"));
    QTest::mouseMove(files->viewport(), centre("B001FAFit_01.cmx"));
    QTest::mouseRelease(files->viewport(), Qt::LeftButton, {}, centre("B001FAFit_01.cmx"));
    QCOMPARE(m_c.FileSkins->fileNames(), QStringList{"B001FAFit_01.cmx"});

    QVERIFY(clickEntry(*files, "abc.cmx", Qt::ShiftModifier));
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("*_new"));
    QCOMPARE(m_c.txtNewName->toolTip(),
             QStringLiteral("3 files: abc.cmx_new, B001FAFi__new, \u2026"));
    QVERIFY(clickEntry(*files, "B001FAFi_x.cmx", Qt::ControlModifier));
    QCOMPARE(m_c.txtNewName->toolTip(), QStringLiteral("2 files: abc.cmx_new, B001FAFit_new"));

    // In another folder nothing is chosen, and the name of several goes.
    QVERIFY(m_c.DirSkins->setPath(path("skins/other")));
    QCOMPARE(m_c.txtNewName->text(), QString());
    QCOMPARE(m_c.txtNewName->toolTip(), QString());
}

// A new file named as a game's own character says so first and offers to
// create anyway; the archive's entry then offers to put the game's own back,
// naming the file that takes its place, and says why once it cannot.
void TestMainWindow::overridingTheGamesOwnAsksAndIsPutBackFromItsEntry()
{
    QVERIFY(QDir().mkpath(path("Game/GameData/Skins")));
    QVERIFY(QDir().mkpath(path("Game/ExpansionShared")));
    const QString archive = path("Game/ExpansionShared/ExpansionShared.far");
    QVERIFY(writeFile(archive, farArchive({{"Skins\\B001FAFit_01.cmx", "game's own"}})));
    QVERIFY(writeFile(path("Game/GameData/Skins/hat.skn"), crlfLines(kMeshLines)));
    selectBothFiles("abc.cmx");
    typeInto(m_c.txtNewName, "B001FAFit_01");
    typeInto(m_c.txtSavedTo, path("Game/GameData/Skins"));
    setNextAnswer(MessageButton::CreateAnyway);
    clickCreate();
    QCOMPARE(m_messages.size(), 2);
    QVERIFY2(m_messages[0].text.startsWith("B001FAFit_01.cmx takes the place of the game's own "
                                           "character"),
             qPrintable(m_messages[0].text));
    QCOMPARE(m_messages[0].buttons, (QList{MessageButton::CreateAnyway, MessageButton::Cancel}));

    QVERIFY(m_window->controller().openSkinsFolder(archive + QDir::separator() + "Skins"));
    QListView *files = m_c.FileSkins->findChild<QListView *>();
    const auto menuCommand = [&](const char *name) {
        const QPoint entry = files->visualRect(entryNamed(*files, "B001FAFit_01.cmx")).center();
        QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {},
                          files->viewport()->mapTo(m_window.get(), entry));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QAction *command = menu ? menu->findChild<QAction *>(QLatin1String(name)) : nullptr;
        if (menu)
            menu->close();
        return command;
    };
    const QString loose = path("Game/GameData/Skins/B001FAFit_01.cmx");
    QAction *putBack = menuCommand("mnuPutBack");
    QVERIFY(putBack && putBack->isVisible() && putBack->isEnabled());
    QVERIFY2(putBack->toolTip().contains(loose), qPrintable(putBack->toolTip()));
    QAction *restore = menuCommand("mnuRestore");
    QVERIFY(!restore->isEnabled() && !restore->toolTip().isEmpty());
    setNextAnswer(MessageButton::Yes);
    putBack->trigger();
    QVERIFY(!QFile::exists(loose) && QFile::exists(loose + ".bak"));
    QVERIFY(!menuCommand("mnuPutBack")->isEnabled() && !putBack->toolTip().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
