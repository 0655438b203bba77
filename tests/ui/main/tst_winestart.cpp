#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/messagebox.h"
#include "platform/gamesearch.h"
#include "tests/support/widgets.h"
#include "ui/main/maincontroller.h"
#include "ui/main/mainwindow.h"
#include "ui/main/startfolders.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;

// The main window with a Wine prefix in use whose c: holds the game.
class TestWineStart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensInTheCDrive();
    void startedFromTheCDriveListsItsFiles();
    void emptyDriveReturnsToTheWineDriveShown();
    void gameFolderIsChosenLikeADrive();
    void startFolderMayBeGivenAsTheGameKnowsIt();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
    QString driveC() const
    {
        return QDir::toNativeSeparators(QFileInfo(path("prefix/drive_c")).canonicalFilePath());
    }
    template <typename Control> Control *control(const char *name) const
    {
        return m_window->findChild<Control *>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestWineStart::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString skins = "prefix/drive_c/Program Files/Maxis/The Sims/GameData/Skins";
    for (const QString &folder : {skins, QStringLiteral("prefix/dosdevices"), QStringLiteral("d")})
        QVERIFY(QDir().mkpath(path(folder)));
    QVERIFY(QFile::link("../drive_c", path("prefix/dosdevices/c:")));
    QVERIFY(QFile::link(path("d"), path("prefix/dosdevices/d:")));
    QVERIFY(QFile::link("/", path("prefix/dosdevices/z:")));
    qputenv("WINEPREFIX", QFile::encodeName(path("prefix")));

    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWineStart::cleanup()
{
    m_window.reset();
    setMessageHandler({});
    qunsetenv("WINEPREFIX");
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestWineStart::opensInTheCDrive()
{
    for (const char *name : {"DirSkins", "DirProps"})
        QCOMPARE(control<DirectoryList>(name)->path(), driveC());
    for (const char *name : {"FileSkins", "FileProps"})
        QCOMPARE(control<FileList>(name)->path(), driveC());
    auto *box = control<DriveList>("DrvSkins")->findChild<QComboBox *>();
    QCOMPARE(box->itemText(0), QStringLiteral("c: [wine]"));
    // The drive lists agree with the folders shown.
    for (const char *name : {"DrvSkins", "DrvProps"})
        QCOMPARE(control<DriveList>(name)->drive(), QStringLiteral("c: [wine]"));
}

void TestWineStart::startedFromTheCDriveListsItsFiles()
{
    for (const char *file : {"prefix/drive_c/B001FAFit_01.cmx", "prefix/drive_c/hat.skn"})
        QVERIFY(QFile(path(QLatin1String(file))).open(QIODevice::WriteOnly));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(driveC()));
    m_window = std::make_unique<MainWindow>();
    QVERIFY(QDir::setCurrent(previous));

    const QStringList expected[] = {{"B001FAFit_01.cmx"}, {"hat.skn"}};
    for (int side = 0; side < 2; ++side) {
        const auto *files = control<FileList>(side == 0 ? "FileSkins" : "FileProps");
        QCOMPARE(files->path(), driveC());
        QCOMPARE(testsupport::entryTexts(*files->findChild<QListView *>()), expected[side]);
    }
}

void TestWineStart::emptyDriveReturnsToTheWineDriveShown()
{
    QList<Message> messages;
    setMessageHandler([&](const Message &message) { messages.append(message); });
    auto *drives = control<DriveList>("DrvSkins");
    auto *box = drives->findChild<QComboBox *>();
    box->setCurrentIndex(box->findText("c: [wine]"));
    auto *folders = control<DirectoryList>("DirSkins");
    QVERIFY(folders->setPath(driveC() + "/Program Files"));

    // d: goes away after the list was read, like a disk taken out.
    QVERIFY(QFile::remove(path("prefix/dosdevices/d:")));
    box->setCurrentIndex(box->findText("d: [wine]"));

    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().text, QStringLiteral("Nothing in specified drive!"));
    QCOMPARE(drives->drive(), QStringLiteral("c: [wine]"));
    QCOMPARE(folders->path(), driveC());
}

void TestWineStart::gameFolderIsChosenLikeADrive()
{
    const QString entry = QStringLiteral("The Sims: GameData/Skins");
    const QString skins = driveC() + "/Program Files/Maxis/The Sims/GameData/Skins";
    QVERIFY(QFile(skins + "/B001FAFit_01.cmx").open(QIODevice::WriteOnly));
    auto *box = control<DriveList>("DrvSkins")->findChild<QComboBox *>();
    // Offered once the program's search has ended.
    GameSearch::shared().start();
    QTRY_VERIFY(!GameSearch::shared().running());
    const int offered = box->findText(entry);
    QVERIFY(offered > 0);
    box->setCurrentIndex(offered);
    QCOMPARE(control<DirectoryList>("DirSkins")->path(), skins);
    const auto *files = control<FileList>("FileSkins");
    QCOMPARE(files->path(), skins);
    QCOMPARE(testsupport::entryTexts(*files->findChild<QListView *>()),
             QStringList{"B001FAFit_01.cmx"});

    // Opened by its path, the folder shows as the game's; any other on its drive.
    auto *props = control<DriveList>("DrvProps");
    QVERIFY(m_window->controller().openPropsFolder(skins));
    QCOMPARE(props->drive(), entry);
    QVERIFY(m_window->controller().openPropsFolder(driveC() + "/Program Files"));
    QCOMPARE(props->drive(), QStringLiteral("c: [wine]"));
}

QTEST_MAIN(TestWineStart)
void TestWineStart::startFolderMayBeGivenAsTheGameKnowsIt()
{
    const QStringList messages = openStartFolders(
        m_window->controller(), {"c:/program files\\MAXIS\\The Sims\\GameData\\Skins"});
    QCOMPARE(messages, QStringList());
    QCOMPARE(control<DirectoryList>("DirSkins")->path(),
             driveC() + QDir::separator() +
                 QDir::toNativeSeparators("Program Files/Maxis/The Sims/GameData/Skins"));
}

#include "tst_winestart.moc"
