#include "platform/drives.h"
#include "platform/gamefolders.h"
#include "platform/keyvalues.h"
#include "platform/wineregistry.h"
#include "tests/support/wineprefixfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kelvane;

// Game folders in a Wine prefix (c: and d:) and in the Steam libraries of a
// home folder, both made for each test.
class TestGameFolders : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void prefixFoldersAndRegistryEachCountOnce();
    void steamLibrariesOfThePrefixAndOfTheHome();
    void registryKeysAreMatchedWholeAcrossPieces();
    void keyValuesSurviveDamage();
    void librariesAreMergedAndLookedUpNotListed();
    void pipesAndOversizeFilesAreLeftUnreadWithANote();

private:
    QString path(const QString &relative) const { return m_prefix->path(relative); }
    QString canonical(const QString &relative) const { return m_prefix->canonical(relative); }
    void write(const QString &relative, const QByteArray &bytes) const
    {
        QVERIFY(QDir().mkpath(QFileInfo(path(relative)).path()));
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void mkpath(const QString &relative) const { QVERIFY(QDir().mkpath(path(relative))); }
    QStringList found() const
    {
        QStringList games;
        for (const GameFolder &game : findGameFolders())
            games << game.name + " = " + game.folder;
        return games;
    }

    std::unique_ptr<testsupport::WinePrefixFolder> m_prefix;
};

void TestGameFolders::init()
{
    m_prefix = std::make_unique<testsupport::WinePrefixFolder>();
    QVERIFY(m_prefix->isValid());
}

void TestGameFolders::cleanup()
{
    m_prefix.reset();
}

void TestGameFolders::prefixFoldersAndRegistryEachCountOnce()
{
    QVERIFY(found().isEmpty());
    // Names in another case, as Windows would find them.
    mkpath("prefix/drive_c/Program Files (x86)/Maxis/The Sims/gamedata/SKINS");
    mkpath("d/Games/Sims/GameData/Skins");
    mkpath("d/Sims2/GameData/Skins");
    mkpath("prefix/drive_c/Program Files/EA Games/The Sims Legacy/GameData");
    write("prefix/system.reg",
          "WINE REGISTRY Version 2\n\n"
          "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1700000000\n"
          "#time=1d9a0f3b2c4e5f6\n"
          "\"InstallPath\"=\"C:\\\\PROGRAM FILES (X86)\\\\maxis\\\\the sims\"\n\n"
          "[SOFTWARE\\\\Maxis\\\\The Sims] 1700000000\n"
          "\"installpath\"=str(2):\"D:\\\\Games\\\\Sims\"\n\n"
          "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims 2] 1700000000\n"
          "\"InstallPath\"=\"D:\\\\Sims2\"\n");
    QCOMPARE(
        found(),
        QStringList({"The Sims = " + canonical("prefix/drive_c/Program Files (x86)/Maxis/The Sims"),
                     "The Sims (2) = " + canonical("d/Games/Sims")}));
    QCOMPARE(findGameFolders().constFirst().skins,
             canonical("prefix/drive_c/Program Files (x86)/Maxis/The Sims/gamedata/SKINS"));
    // A drive list tells the copies apart in a word: a second copy by its folder's name.
    QCOMPARE(findGameFolders().constLast().copy, QString("Sims"));
    gameDriveEntries(findGameFolders());
    QCOMPARE(gameEntryCopy("The Sims: GameData/Skins"), QString("CD"));
    QCOMPARE(gameEntryCopy("The Sims (2): GameData/Skins"), QString("Sims"));
}

void TestGameFolders::steamLibrariesOfThePrefixAndOfTheHome()
{
    const QString game = "steamapps/common/The Sims Legacy Collection";
    // Steam for Windows in the prefix, its path in the user's registry.
    write("prefix/user.reg", "[Software\\\\Valve\\\\Steam] 1700000000\n"
                             "\"SteamPath\"=\"c:/program files (x86)/steam\"\n");
    write("prefix/drive_c/Program Files (x86)/Steam/steamapps/libraryfolders.vdf",
          "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"C:\\\\Program Files "
          "(x86)\\\\Steam\"\n"
          "\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"D:\\\\SteamLibrary\"\n"
          "\t\t\"apps\"\n\t\t{\n\t\t\t\"3314060\"\t\t\"1234\"\n\t\t}\n\t}\n}\n");
    mkpath("d/SteamLibrary/" + game + "/GameData/Skins");
    // The native client: its list in the older format, a library elsewhere,
    // and its own library holding the game without its skins.
    QVERIFY(QDir().mkpath(path("home/.local/share/Steam/" + game + "/GameData")));
    QVERIFY(QDir().mkpath(path("home/.steam")));
    QVERIFY(QFile::link(path("home/.local/share/Steam"), path("home/.steam/steam")));
    write("home/.local/share/Steam/steamapps/libraryfolders.vdf",
          "// written by hand\n\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\"1\"\n"
          "\t\"1\"\t\t\"" +
              path("library").toUtf8() + "\"\n\t\"2\"\t\t\"" + path("gone").toUtf8() + "\"\n}\n");
    mkpath("library/" + game + "/GameData/Skins");

    QCOMPARE(found(), QStringList({"The Sims (Steam) = " + canonical("d/SteamLibrary/" + game),
                                   "The Sims (Steam 2) = " + canonical("library/" + game)}));
}

void TestGameFolders::librariesAreMergedAndLookedUpNotListed()
{
    // One library written 200 ways, then one more; then too many distinct ones.
    const auto libraries = [](const QList<QByteArray> &paths) {
        QByteArray list = "\"libraryfolders\"\n{\n";
        for (qsizetype i = 0; i < paths.size(); ++i)
            list += "\"" + QByteArray::number(i) + "\" { \"path\" \"" + paths[i] + "\" }\n";
        return list + "}\n";
    };
    QList<QByteArray> paths;
    for (int i = 0; i < 100; ++i)
        paths << "D:\\\\Big"
              << "d:/BIG/./";
    paths << "D:\\\\Lib";
    write("prefix/user.reg", "[Software\\\\Valve\\\\Steam] 1\n\"SteamPath\"=\"C:\\\\Steam\"\n");
    write("prefix/drive_c/Steam/steamapps/libraryfolders.vdf", libraries(paths));
    // Steam's older spelling, found although the library's root cannot be listed.
    mkpath("d/Lib/SteamApps/common/The Sims Legacy Collection/GameData/Skins");
    mkpath("d/Big");
    QVERIFY(QFile::setPermissions(path("d/Lib"), QFile::ExeOwner));
    QStringList notes;
    QCOMPARE(findGameFolders(&notes).size(), 1);
    QVERIFY(QFile::setPermissions(path("d/Lib"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(notes, QStringList());

    paths.clear();
    for (int i = 0; i < 70; ++i)
        paths << "D:\\\\Big\\\\" + QByteArray::number(i);
    write("prefix/drive_c/Steam/steamapps/libraryfolders.vdf", libraries(paths));
    findGameFolders(&notes);
    QCOMPARE(notes, QStringList(canonical("prefix/drive_c/Steam") +
                                ": only the first 64 libraries are looked at"));
}

void TestGameFolders::pipesAndOversizeFilesAreLeftUnreadWithANote()
{
    mkpath("prefix/drive_c/Program Files/Maxis/The Sims/GameData/Skins");
    mkpath("home/.steam/steam/steamapps");
    const QStringList pipes = {path("prefix/system.reg"),
                               path("home/.steam/steam/steamapps/libraryfolders.vdf")};
    for (const QString &pipe : pipes)
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString lists = "home/.local/share/Steam/steamapps/libraryfolders.vdf";
    for (const auto &[file, size] :
         {std::pair{QString("prefix/user.reg"), WineRegistry::kMaxSize + 1},
          {lists, qint64(2 * 1024 * 1024)}}) {
        write(file, {});
        QVERIFY(QFile::resize(path(file), size));
    }

    QStringList notes;
    QList<GameFolder> games;
    std::unique_ptr<QThread> search(QThread::create([&] { games = findGameFolders(&notes); }));
    search->start();
    // A search that opened a pipe would wait for a writer: give it one that
    // closes at once, so that the test fails instead of hanging.
    if (!search->wait(QDeadlineTimer(10000))) {
        for (const QString &pipe : pipes)
            ::close(::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK));
        search->wait();
        QFAIL("the search opened a pipe");
    }
    QCOMPARE(games.size(), 1);
    const QString unread = ": not a regular file, left unread";
    QCOMPARE(notes, QStringList({pipes[0] + unread,
                                 path("prefix/user.reg") + ": left unread, larger than a "
                                                           "registry file can be (256 MB)",
                                 pipes[1] + unread,
                                 path(lists) + ": left unread, larger than a list of "
                                               "libraries can be (1 MB)"}));
}

void TestGameFolders::registryKeysAreMatchedWholeAcrossPieces()
{
    // The key asked for straddles the end of the first 64 KiB read; the
    // values of the keys after it, one only beginning like it, are not its own.
    QByteArray text;
    for (int i = 0; text.size() < 60000; ++i)
        text += "[Software\\\\Classes\\\\" + QByteArray::number(i) + "] 1\n@=\"x\"\n\n";
    text += ";" + QByteArray(65536 - 10 - text.size() - 2, ' ') + "\n";
    text += "[software\\\\maxis\\\\the sims] 1\n"
            "\"A\"=\"tab\\there \\\"q\\\" back\\\\slash \\x00e9t\\xe9\"\n"
            "\"B\"=dword:00000001\n[Software\\\\Maxis\\\\The Sims Online] 1\n\"A\"=\"online\"\n"
            "[Software\\\\Other] 1\n\"C\"=\"other\"";
    write("system.reg", text);
    const QString key = "Software\\Maxis\\The Sims";
    const WineRegistry registry(path("system.reg"), {key});
    QCOMPARE(registry.value(key, "a"), QString("tab\there \"q\" back\\slash \u00e9t\u00e9"));
    QCOMPARE(registry.value(key, "B"), QString());
    QCOMPARE(registry.value(key, "C"), QString());
    QCOMPARE(WineRegistry(path("nothing.reg"), {key}).value(key, "A"), QString());
}

void TestGameFolders::keyValuesSurviveDamage()
{
    const QList<KeyValue> read = parseKeyValues(
        "\"a\" { \"path\" \"D:\\\\Lib \\\"x\\\"\" [$WIN32] \"b\" { } } } \"c\" \"C:\\Steam\" "
        "\"broken\" { \"p\" \"cut off");
    QCOMPARE(read.size(), 3);
    QCOMPARE(read[0].block.size(), 2);
    QCOMPARE(read[0].block[0].value, QString("D:\\Lib \"x\""));
    QVERIFY(read[0].block[1].isBlock);
    QCOMPARE(read[1].value, QString("C:\\Steam"));
    QCOMPARE(read[2].block.constFirst().value, QString("cut off"));
    // Nesting deeper than any list has reads without exhausting the stack.
    QCOMPARE(parseKeyValues("\"k\" " + QByteArray(200000, '{')).size(), 1);
}

QTEST_GUILESS_MAIN(TestGameFolders)
#include "tst_gamefolders.moc"
