#include "commandbutton.h"
#include "directorylist.h"
#include "drivelist.h"
#include "filelist.h"
#include "label.h"
#include "maincontroller.h"
#include "mainwindow.h"
#include "messagebox.h"
#include "modalwindow.h"
#include "systempaths.h"
#include "textbox.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace kelvane;

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
const QStringList kMeshLines = {"xskin-hat", "tex", "1", "HEAD", "0"};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

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

private:
    QString path(const QString &relative) const
    {
        return QDir::toNativeSeparators(m_dir->filePath(relative));
    }
    template <typename Control> Control *control(const char *name) const
    {
        auto *found = m_window->findChild<Control *>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }
    DirectoryList *dir(const char *name) const { return control<DirectoryList>(name); }
    FileList *files(const char *name) const { return control<FileList>(name); }
    TextBox *text(const char *name) const { return control<TextBox>(name); }
    bool createEnabled() const { return control<CommandButton>("cmdDoIt")->isEnabled(); }
    QString focusedControl() const;

    void openBothFolders();
    void clickFile(const char *list, const QString &fileName);
    void typeInto(const char *textBox, const QString &typed);
    void chooseDrive(const char *driveList, const QString &drive);

    QTemporaryDir m_emptyWinePrefix;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
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
        writeFile(path(QStringLiteral("skins/") + QLatin1String(name)), character);
    writeFile(path("skins/other/D001MA_x.cmx"), character);
    writeFile(path("props/hat.skn"), crlfLines(kMeshLines));
    writeFile(path("props/broken.skn"), "only one line");

    m_usbDrive = path("usb") + " [USB]";
    m_emptyDrive = path("nodisk") + " [Empty]";
    m_messages.clear();
    setMessageHandler([this](const Message &message) { m_messages.append(message); });

    const QStringList drives = {systemRoot(), m_usbDrive, m_emptyDrive};
    m_window = std::make_unique<MainWindow>([drives] { return drives; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
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
    QVERIFY(dir("DirSkins")->setPath(path("skins")));
    QVERIFY(dir("DirProps")->setPath(path("props")));
}

void TestMainWindow::clickFile(const char *list, const QString &fileName)
{
    auto *view = files(list)->findChild<QListView *>();
    const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                                       fileName, 1, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(fileName));
    view->scrollTo(found.first());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(found.first()).center());
}

void TestMainWindow::typeInto(const char *textBox, const QString &typed)
{
    auto *edit = text(textBox)->findChild<QLineEdit *>();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
}

void TestMainWindow::chooseDrive(const char *driveList, const QString &drive)
{
    auto *box = control<DriveList>(driveList)->findChild<QComboBox *>();
    const int index = box->findText(drive);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
}

void TestMainWindow::loadSetsDefaults()
{
    for (const char *name : {"DirSkins", "DirProps"})
        QCOMPARE(dir(name)->path(), systemRoot());
    for (const char *name : {"FileSkins", "FileProps"}) {
        QCOMPARE(files(name)->path(), systemRoot());
        QCOMPARE(files(name)->fileName(), QString());
    }
    QCOMPARE(text("txtNewName")->text(), QString());
    QCOMPARE(text("txtSavedTo")->text(), QString());
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
        control<CommandButton>("cmdDoIt")->setEnabled(enabled);
        QStringList expected = order;
        if (!enabled)
            expected.removeAll("cmdDoIt");
        expected.append("DirSkins");
        dir("DirSkins")->setFocus();
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
    typeInto("txtNewName", typedFirst);
    clickFile("FileSkins", clicked);
    QCOMPARE(text("txtNewName")->text(), proposal);
    QCOMPARE(m_window->controller().suffix(), suffix);
}

void TestMainWindow::folderProposalStopsOnceEdited()
{
    openBothFolders();
    const QString proposal = path("skins") + pathSeparator();
    clickFile("FileSkins", "abc.cmx");
    QCOMPARE(text("txtSavedTo")->text(), proposal);
    QVERIFY(!m_window->controller().savedToEdited());

    QVERIFY(dir("DirSkins")->setPath(path("skins/other")));
    clickFile("FileSkins", "D001MA_x.cmx");
    QCOMPARE(text("txtSavedTo")->text(), path("skins/other") + pathSeparator());

    typeInto("txtSavedTo", path("props"));
    QVERIFY(m_window->controller().savedToEdited());
    typeInto("txtSavedTo", path("skins/other") + pathSeparator());
    QVERIFY(m_window->controller().savedToEdited());
    QVERIFY(dir("DirSkins")->setPath(path("skins")));
    clickFile("FileSkins", "abc.cmx");
    QCOMPARE(text("txtSavedTo")->text(), path("skins/other") + pathSeparator());
}

void TestMainWindow::createButtonNeedsBothSelections()
{
    openBothFolders();
    clickFile("FileSkins", "abc.cmx");
    QVERIFY(!createEnabled());
    clickFile("FileProps", "hat.skn");
    QVERIFY(createEnabled());

    typeInto("txtNewName", "");
    typeInto("txtSavedTo", "");
    QVERIFY(createEnabled());
    clickFile("FileSkins", "C001MA_hat.cmx");
    QVERIFY(createEnabled());

    // Mesh side first.
    QVERIFY(dir("DirSkins")->setPath(path("skins/other")));
    QVERIFY(!createEnabled());
    clickFile("FileProps", "hat.skn");
    QVERIFY(!createEnabled());
    clickFile("FileSkins", "D001MA_x.cmx");
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
    clickFile("FileSkins", "abc.cmx");
    clickFile("FileProps", "hat.skn");
    QVERIFY(createEnabled());

    const bool skinsSide = change.endsWith("Skins");
    if (change.startsWith("Dir")) {
        // The user opens a subfolder by keyboard.
        auto *view = dir(qPrintable(change))->findChild<QListWidget *>();
        QTest::keyClicks(view, skinsSide ? "other" : "sub");
        QTest::keyClick(view, Qt::Key_Return);
    } else {
        chooseDrive(qPrintable(change), m_usbDrive);
    }
    QVERIFY(!createEnabled());
    FileList *changedFiles = files(skinsSide ? "FileSkins" : "FileProps");
    QCOMPARE(changedFiles->path(), dir(skinsSide ? "DirSkins" : "DirProps")->path());
    QCOMPARE(changedFiles->fileName(), QString());
    QCOMPARE(files(skinsSide ? "FileProps" : "FileSkins")->fileName(),
             skinsSide ? QStringLiteral("hat.skn") : QStringLiteral("abc.cmx"));
}

void TestMainWindow::driveChangeToReadableDrive()
{
    chooseDrive("DrvSkins", m_usbDrive);
    QCOMPARE(dir("DirSkins")->path(), path("usb"));
    QCOMPARE(files("FileSkins")->path(), path("usb"));
    QCOMPARE(dir("DirProps")->path(), systemRoot());
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
    const QByteArray drv = ("Drv" + side).toLatin1();
    const QByteArray dirName = ("Dir" + side).toLatin1();
    const QString otherDir = side == "Skins" ? "DirProps" : "DirSkins";
    chooseDrive(drv, m_usbDrive);
    QVERIFY(dir(dirName)->setPath(path("usb/deep")));
    QVERIFY(dir(qPrintable(otherDir))->setPath(path("props")));
    typeInto("txtNewName", "x_y");

    chooseDrive(drv, m_emptyDrive);

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().text, QStringLiteral("Nothing in specified drive!"));
    QCOMPARE(m_messages.first().title, QStringLiteral("Error"));
    QCOMPARE(m_messages.first().style, MessageStyle::Exclamation);
    QCOMPARE(control<DriveList>(drv)->drive(), m_usbDrive);
    QCOMPARE(dir(dirName)->path(), path("usb"));
    QCOMPARE(files(qPrintable("File" + side))->path(), path("usb"));
    QCOMPARE(dir(qPrintable(otherDir))->path(), path("props"));
    QCOMPARE(text("txtNewName")->text(), QStringLiteral("x_y"));
    QCOMPARE(m_window->controller().suffix(), QStringLiteral("y"));
}

void TestMainWindow::createWritesFileAndRefreshes()
{
    openBothFolders();
    clickFile("FileSkins", "B001FAFit_01.cmx");
    clickFile("FileProps", "hat.skn");
    QTest::mouseClick(control<CommandButton>("cmdDoIt")->findChild<QPushButton *>(),
                      Qt::LeftButton);

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
                                  "xskin-hat",
                                  "0",
                                  "0",
                                  "0",
                                  ""};
    QCOMPARE(written.readAll(), crlfLines(expected));

    // Listed, and the character file stays selected: a mesh click alone re-enables.
    auto *view = files("FileSkins")->findChild<QListView *>();
    QVERIFY(!view->model()
                 ->match(view->model()->index(0, 0), Qt::DisplayRole, "B001FAFit_new.cmx")
                 .isEmpty());
    QCOMPARE(files("FileSkins")->fileName(), QStringLiteral("B001FAFit_01.cmx"));
    clickFile("FileProps", "hat.skn");
    QVERIFY(createEnabled());
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
    clickFile("FileSkins", "B001FAFit_01.cmx");
    clickFile("FileProps", meshFile);
    if (!outputFolder.isEmpty())
        typeInto("txtSavedTo", path(outputFolder));
    if (outputFolder == QLatin1String("usb/deep"))
        QVERIFY(QDir(path(outputFolder)).removeRecursively());
    const QString savedTo = text("txtSavedTo")->text();
    const QStringList skinsBefore = QDir(path("skins")).entryList(QDir::Files | QDir::Hidden);
    const QStringList propsBefore = QDir(path("props")).entryList(QDir::Files | QDir::Hidden);

    QTest::mouseClick(control<CommandButton>("cmdDoIt")->findChild<QPushButton *>(),
                      Qt::LeftButton);

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().title, QStringLiteral("Error"));
    QCOMPARE(m_messages.first().style, MessageStyle::Exclamation);
    QVERIFY2(m_messages.first().text.contains(namedInError), qPrintable(m_messages.first().text));
    QCOMPARE(QDir(path("skins")).entryList(QDir::Files | QDir::Hidden), skinsBefore);
    QCOMPARE(QDir(path("props")).entryList(QDir::Files | QDir::Hidden), propsBefore);
    QVERIFY(createEnabled());
    QCOMPARE(text("txtNewName")->text(), QStringLiteral("B001FAFit_new"));
    QCOMPARE(text("txtSavedTo")->text(), savedTo);
    QCOMPARE(files("FileProps")->fileName(), meshFile);
}

#ifdef Q_OS_UNIX
void TestMainWindow::createCutOffPartWayKeepsTheCharacterFile()
{
    // The output replaces the character file read, and the disk "fills up" on the way.
    QStringList lines = kCharacterLines;
    lines[7] = QStringLiteral("300");
    for (int k = 1; k < 300; ++k)
        lines << "SPINE" << "xskin-b001fafit_01-SPINE-BODY" << "0" << "0";
    const QByteArray original = crlfLines(lines);
    writeFile(path("skins/B001FAFit_01.cmx"), original);
    openBothFolders();
    clickFile("FileSkins", "B001FAFit_01.cmx");
    clickFile("FileProps", "hat.skn");
    typeInto("txtNewName", "B001FAFit_01");
    const QStringList skinsBefore = QDir(path("skins")).entryList(QDir::Files | QDir::Hidden);

    rlimit limit{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlim_t previous = limit.rlim_cur;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    QTest::mouseClick(control<CommandButton>("cmdDoIt")->findChild<QPushButton *>(),
                      Qt::LeftButton);
    limit.rlim_cur = previous;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().title, QStringLiteral("Error"));
    QVERIFY2(m_messages.first().text.contains("B001FAFit_01.cmx: the file cannot be written"),
             qPrintable(m_messages.first().text));
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
    QTest::mouseClick(control<CommandButton>("cmdHelp")->findChild<QPushButton *>(),
                      Qt::LeftButton);
    setModalHandler({});
    QCOMPARE(modalWindows, QStringList{QStringLiteral("Help")});

    QTest::mouseClick(control<Label>("lblTitle"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].title, QStringLiteral("About Kelvane 1.0"));
    QCOMPARE(m_messages[0].style, MessageStyle::Plain);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
