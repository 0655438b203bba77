#include "controls/archivefolder.h"
#include "controls/drivelist.h"
#include "platform/drives.h"
#include "platform/gamefolders.h"
#include "platform/gamesearch.h"
#include "platform/systempaths.h"
#include "tests/support/files.h"
#include "tests/support/wineprefixfolder.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace kelvane;

// The drive list in a fake Wine prefix (c: and d:) whose games are looked for
// in the prefix and in an empty home folder, both made for each test.
class TestDriveList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void driveOfPathIsTheLongestRoot();
    void driveListOpensTheSkinsFolderAndKeepsDrivesForTheRest();
    void driveListReachesTheGamesOwnCharacters();
    void searchRunsOffTheWindowThread();

private:
    QString path(const QString &relative) const { return m_prefix->path(relative); }
    QString canonical(const QString &relative) const { return m_prefix->canonical(relative); }
    void write(const QString &relative, const QByteArray &bytes) const
    {
        QVERIFY(QDir().mkpath(QFileInfo(path(relative)).path()));
        QVERIFY(testsupport::writeFile(path(relative), bytes));
    }
    void mkpath(const QString &relative) const { QVERIFY(QDir().mkpath(path(relative))); }

    std::unique_ptr<testsupport::WinePrefixFolder> m_prefix;
};

void TestDriveList::init()
{
    m_prefix = std::make_unique<testsupport::WinePrefixFolder>("games");
    QVERIFY(m_prefix->isValid());
    for (const char *folder : {"prefix/drive_c/Program Files", "games/sub"})
        mkpath(QLatin1String(folder));
}

void TestDriveList::cleanup()
{
    m_prefix.reset();
}

void TestDriveList::driveOfPathIsTheLongestRoot()
{
    const QString usb = path("usb");
    DriveList drives([&] {
        return QStringList{"c: [wine]", "d: [wine]", "z: [wine]", "/", usb + " [USB]"};
    });
    QSignalSpy changed(&drives, &DriveList::changed);
    // It starts where the browsers start: on the prefix's C: drive.
    QCOMPARE(drives.drive(), QStringLiteral("c: [wine]"));

    drives.setDrive(canonical("games/sub"));
    QCOMPARE(drives.drive(), QStringLiteral("d: [wine]"));
    drives.setDrive(usb + "/inner");
    QCOMPARE(drives.drive(), usb + " [USB]");
    drives.setDrive(QStringLiteral("/etc"));
    QCOMPARE(drives.drive(), QStringLiteral("/"));
    drives.setDrive(canonical("prefix/drive_c/Program Files"));
    QCOMPARE(drives.drive(), QStringLiteral("c: [wine]"));
    QCOMPARE(changed.count(), 4);
}

void TestDriveList::driveListOpensTheSkinsFolderAndKeepsDrivesForTheRest()
{
    mkpath("prefix/drive_c/Program Files/Maxis/The Sims/GameData/Skins/sub");
    const QString entry = "The Sims: GameData/Skins";
    const QString skins = canonical("prefix/drive_c/Program Files/Maxis/The Sims/GameData/Skins");
    GameSearch::shared().start();
    QTRY_COMPARE(browsableDrives().constLast(), entry);
    QCOMPARE(driveRoot(entry), skins);

    DriveList drives;
    QCOMPARE(drives.drive(), QString("c: [wine]"));
    drives.setDrive(skins);
    QCOMPARE(drives.drive(), entry);
    drives.setDrive(skins + "/sub");
    QCOMPARE(drives.drive(), QString("c: [wine]"));
    drives.setDrive(skins + "/");
    QCOMPARE(drives.drive(), entry);
    drives.setDrive(canonical("prefix/drive_c/Program Files/Maxis/The Sims"));
    QCOMPARE(drives.drive(), QString("c: [wine]"));
}

// The game's characters are two clicks away: the archive's folder of bodies,
// not the one of its animations, though these are more and named alike.
void TestDriveList::driveListReachesTheGamesOwnCharacters()
{
    using namespace testsupport;
    const QString game = "prefix/drive_c/Program Files/Maxis/The Sims";
    mkpath(game + "/GameData/Skins");
    BinaryCharacter skeleton, skill;
    skeleton.skeletons = 1;
    skill.suits = 0;
    skill.skills = 1;
    write(game + "/ExpansionShared/ExpansionShared.far",
          farArchive({{"Skins\\B001FAFit_01.cmx.bcf", binaryCharacterFile({})},
                      {"Skins\\adult-skeleton.cmx.bcf", binaryCharacterFile(skeleton)},
                      {"Anims\\a2o-1.cmx.bcf", binaryCharacterFile(skill)},
                      {"Anims\\a2o-2.cmx.bcf", binaryCharacterFile(skill)}}));
    const QString entry = "The Sims: ExpansionShared/ExpansionShared.far/Skins";
    const QString skins = canonical(game + "/ExpansionShared/ExpansionShared.far") + "/Skins";

    QWidget window;
    window.resize(300, 100);
    auto *drives = new DriveList(browsableDrives, &window);
    drives->setGeometry(200, 10, 90, 20);
    window.show();
    GameSearch::shared().setCharacterFolder(characterFolderOf);
    GameSearch::shared().start();
    QTRY_COMPARE(browsableDrives().constLast(), entry);
    QCOMPARE(driveRoot(entry), skins);
    const Result<ArchiveFolder> shown = readArchiveFolder(*archivePathOf(skins));
    QCOMPARE(shown.value().files, QStringList("B001FAFit_01.cmx.bcf"));

    auto *box = drives->findChild<QComboBox *>();
    QSignalSpy changed(drives, &DriveList::changed);
    drives->listDrivesAgain();
    QVERIFY(box->findText(entry) >= 0);
    QCOMPARE(changed.size(), 0);
    drives->setDrive(skins);
    QCOMPARE(changed.size(), 1);
    // Closed, the entry says which copy of the game and which of its folders.
    QCOMPARE(box->currentData(Qt::UserRole).toStringList(), QStringList({"CD", "archive"}));
    QCOMPARE(box->itemData(box->currentIndex() - 1, Qt::UserRole).toStringList(),
             QStringList({"CD", "Skins"}));
    emit box->activated(box->currentIndex());
    QCOMPARE(changed.size(), 2);

    box->showPopup();
    QWidget *popup = box->view()->parentWidget();
    QTRY_VERIFY(popup->isVisible());
    QVERIFY2(popup->geometry().right() <= window.geometry().right(),
             qPrintable(QString::number(popup->geometry().right())));
    // A new entry chosen raises changed() once.
    QTest::keyClick(box->view(), Qt::Key_Up);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCOMPARE(changed.size(), 3);
}

// The drive list is there before the search ends, and takes its entries then.
void TestDriveList::searchRunsOffTheWindowThread()
{
    GameSearch &search = GameSearch::shared();
    QTRY_VERIFY(!search.running());
    QSemaphore mayEnd;
    QThread *searchedOn = nullptr;
    search.setFind([&](QStringList *) {
        searchedOn = QThread::currentThread();
        mayEnd.acquire();
        return QList<GameFolder>{{"The Sims (Steam)", path("game"), path("game/GameData/Skins")}};
    });
    const auto restore = qScopeGuard([&] {
        mayEnd.release();
        QTRY_VERIFY(!search.running());
        search.setFind(findGameFolders);
    });
    search.start();
    DriveList drives;
    auto *box = drives.findChild<QComboBox *>();
    const QString entry = "The Sims (Steam): GameData/Skins";
    QVERIFY(search.running());
    QCOMPARE(box->findText(entry), -1);
    mayEnd.release();
    QTRY_VERIFY(!search.running());
    QVERIFY(searchedOn && searchedOn != QThread::currentThread());
    drives.listDrivesAgain();
    QVERIFY(box->findText(entry) >= 0);
    QCOMPARE(box->itemData(box->findText(entry), Qt::UserRole).toStringList(),
             QStringList({"Steam", "Skins"}));

    // Opening the list reads the drives again, never starts a search.
    box->showPopup();
    QVERIFY(!search.running());
    box->hidePopup();
}

QTEST_MAIN(TestDriveList)
#include "tst_drivelist.moc"
