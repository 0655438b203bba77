// The window's create command as cmdDoIt runs it, its messages answered here.
#include "controls/messagebox.h"
#include "platform/gamesearch.h"
#include "tests/support/files.h"
#include "ui/main/createcommand.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kelvane;
using namespace testsupport;

class TestCreateCommand : public QObject
{
    Q_OBJECT

private slots:
    void aFileChangedWhileAskedIsReadAgain();
    void aGameSearchEndingLateIsWaitedFor();
#ifdef Q_OS_UNIX
    void severalFilesNeverReplaceAnInputThroughALink();
#endif

private:
    QString path(const QString &name) const
    {
        return m_dir.filePath(name);
    }
    QList<CreatedFile> create(const QStringList &files, const QString &name,
                              std::function<QStringList()> games = {})
    {
        // The mesh names no texture, so that the game lacks nothing.
        if (!writeFile(path("hat.skn"), "hat\r\nx\r\n1\r\nHEAD\r\n0\r\n"))
            return {};
        const auto answer = qScopeGuard([] { setMessageHandler({}); });
        return runCreateCommand(nullptr, {m_dir.path(), files, m_dir.path(), "hat.skn", name,
                                          m_dir.path(), std::move(games)});
    }

    QTemporaryDir m_dir;
    QStringList m_titles;
};

// The "File Exists" question may stand open for minutes: a change made to the
// file meanwhile is said, read, and kept in the file written.
void TestCreateCommand::aFileChangedWhileAskedIsReadAgain()
{
    QVERIFY(writeFile(path("B001FAFit_01.cmx"), characterFile({{"PELVIS", "body"}})));
    const QByteArray changed = characterFile({{"PELVIS", "body"}, {"L_HAND", "ring"}});
    setMessageHandler([&](const Message &message) {
        m_titles.append(message.title);
        if (message.title == "File Exists" && m_titles.size() == 1)
            QVERIFY(writeFile(path("B001FAFit_01.cmx"), changed));
        setNextAnswer(MessageButton::Yes);
    });
    QCOMPARE(create({"B001FAFit_01.cmx"}, "B001FAFit_01").size(), 1);
    QCOMPARE(m_titles, (QStringList{"File Exists", "File Changed", "File Exists"}));
    const QByteArray written = readFile(path("B001FAFit_01.cmx"));
    QVERIFY(written.contains("L_HAND\r\nring\r\n") && written.contains("HEAD\r\nhat\r\n"));
    QCOMPARE(readFile(path("B001FAFit_01.cmx.bak")), changed);
}

// Just after start the search may still run: the new file is judged against
// what it finds, never against no game at all.
void TestCreateCommand::aGameSearchEndingLateIsWaitedFor()
{
    QVERIFY(QDir().mkpath(path("Game/ExpansionShared")));
    QVERIFY(writeFile(path("Game/ExpansionShared/ExpansionShared.far"),
                      farArchive({{"Skins\\B001FAFit_01.cmx", "game's own"}})));
    QVERIFY(writeFile(path("abc.cmx"), characterFile({{"PELVIS", "body"}})));
    // The search ends only once the window's thread turns to its events.
    QSemaphore searching;
    GameSearch search([&](QStringList *) {
        searching.acquire();
        return QList{GameFolder{"The Sims", path("Game"), path("Game/GameData/Skins")}};
    });
    search.start();
    QTimer::singleShot(0, &search, [&] { searching.release(); });
    const auto found = [&] {
        QStringList folders;
        for (const GameFolder &game : search.gamesOnceFound(10000))
            folders.append(game.folder);
        return folders;
    };
    QString asked;
    setMessageHandler([&](const Message &message) {
        asked += message.title + ": " + message.text + "\n";
        setNextAnswer(message.title == "File Exists" ? MessageButton::Yes
                                                     : MessageButton::CreateAnyway);
    });
    QCOMPARE(create({"abc.cmx"}, "B001FAFit_01", found).size(), 1);
    QVERIFY2(asked.startsWith("Check Before Creating: B001FAFit_01.cmx takes the place of the "
                              "game's own character:"),
             qPrintable(asked));
}

#ifdef Q_OS_UNIX
// As kelvane-attach refuses it: a new file that is, or links to, one of the
// files selected is never written.
void TestCreateCommand::severalFilesNeverReplaceAnInputThroughALink()
{
    const QByteArray body = characterFile({{"PELVIS", "body"}});
    QVERIFY(writeFile(path("A001MA_x.cmx"), body) && writeFile(path("D001MA_y.cmx"), body));
    QVERIFY(QFile::link(path("D001MA_y.cmx"), path("A001MA_new.cmx")));
    QString shown;
    setMessageHandler(
        [&](const Message &message) { shown += message.title + ": " + message.text; });
    QVERIFY(create({"A001MA_x.cmx", "D001MA_y.cmx"}, "*_new").isEmpty());
    QVERIFY2(shown.startsWith("Error: ") && shown.contains("D001MA_y.cmx, which is read"),
             qPrintable(shown));
    QCOMPARE(readFile(path("D001MA_y.cmx")), body);
}
#endif

QTEST_MAIN(TestCreateCommand)
#include "tst_createcommand.moc"
