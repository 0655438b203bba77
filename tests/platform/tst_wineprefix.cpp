#include "platform/drives.h"
#include "platform/systempaths.h"
#include "platform/wineprefix.h"
#include "tests/support/wineprefixfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace kelvane;

// A fake Wine prefix: dosdevices holds c: and d: linking to folders beside
// the ones a real prefix has that are no drives.
class TestWinePrefix : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lettersLinkingToFoldersAreDrives();
    void driveListOffersWineDrivesBeforeVolumes();
    void driveRootFollowsTheLink();
    void systemRootIsTheCDrive();
    void homeWineIsUsedWithoutWinePrefix();

private:
    QString path(const QString &relative) const { return m_prefix->path(relative); }
    QString canonical(const QString &relative) const { return m_prefix->canonical(relative); }
    void link(const QString &target, const QString &letter) const
    {
        QVERIFY(QFile::link(target, path("prefix/dosdevices/" + letter)));
    }

    std::unique_ptr<testsupport::WinePrefixFolder> m_prefix;
};

void TestWinePrefix::init()
{
    m_prefix = std::make_unique<testsupport::WinePrefixFolder>("games");
    QVERIFY(m_prefix->isValid());
    for (const char *folder : {"prefix/drive_c/Program Files", "games/sub"})
        QVERIFY(QDir().mkpath(path(QLatin1String(folder))));
    QFile file(path("prefix/file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    link("../gone", "e:");
    link("../file.txt", "f:");
    link("/dev/null", "c::");
    link("/", "z:");
}

void TestWinePrefix::cleanup()
{
    m_prefix.reset();
}

void TestWinePrefix::lettersLinkingToFoldersAreDrives()
{
    const QList<WinePrefix::Drive> drives = WinePrefix::inUse().drives();
    QStringList letters;
    for (const WinePrefix::Drive &drive : drives)
        letters << drive.letter;
    QCOMPARE(letters, QStringList({"c:", "d:", "z:"}));
    QCOMPARE(drives[0].root, canonical("prefix/drive_c"));
    QCOMPARE(drives[1].root, canonical("games"));
    QCOMPARE(drives[2].root, QStringLiteral("/"));

    QVERIFY(WinePrefix(path("nowhere")).drives().isEmpty());
}

void TestWinePrefix::driveListOffersWineDrivesBeforeVolumes()
{
    const QStringList drives = browsableDrives();
    QVERIFY(drives.size() >= 4);
    QCOMPARE(drives.mid(0, 4), QStringList({"c: [wine]", "d: [wine]", "z: [wine]", "/"}));
    QCOMPARE(WinePrefix::letterOf("d: [wine]"), QStringLiteral("d:"));
    QCOMPARE(WinePrefix::letterOf("/media/me/x [wine]"), QString());
}

void TestWinePrefix::driveRootFollowsTheLink()
{
    QCOMPARE(driveRoot("c: [wine]"), canonical("prefix/drive_c"));
    QCOMPARE(driveRoot("d: [wine]"), canonical("games"));
    QCOMPARE(driveRoot("z: [wine]"), QStringLiteral("/"));
    QCOMPARE(driveRoot("e: [wine]"), QString());
    QCOMPARE(driveRoot("/media/me/USB [USB]"), QStringLiteral("/media/me/USB"));
}

void TestWinePrefix::systemRootIsTheCDrive()
{
    QCOMPARE(systemRoot(), canonical("prefix/drive_c"));
    QVERIFY(QFile::remove(path("prefix/dosdevices/c:")));
    QCOMPARE(systemRoot(), QStringLiteral("/"));
    qputenv("WINEPREFIX", QFile::encodeName(path("games")));
    QCOMPARE(systemRoot(), QStringLiteral("/"));
}

void TestWinePrefix::homeWineIsUsedWithoutWinePrefix()
{
    QVERIFY(QDir().mkpath(path("home")));
    qputenv("HOME", QFile::encodeName(path("home")));
    qunsetenv("WINEPREFIX");
    QCOMPARE(systemRoot(), QStringLiteral("/"));
    QVERIFY(QFile::link(path("prefix"), path("home/.wine")));
    QCOMPARE(systemRoot(), canonical("prefix/drive_c"));
}

QTEST_GUILESS_MAIN(TestWinePrefix)
#include "tst_wineprefix.moc"
