// The window's create command, run as cmdDoIt runs it, its messages answered
// by the test.
#include "controls/messagebox.h"
#include "tests/support/files.h"
#include "ui/main/createcommand.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using namespace testsupport;

class TestCreateCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aFileChangedWhileAskedIsReadAgain();
#ifdef Q_OS_UNIX
    void severalFilesNeverReplaceAnInputThroughALink();
#endif

private:
    QString path(const QString &name) const
    {
        return QDir::toNativeSeparators(m_dir->filePath(name));
    }
    CreateInputs inputs(const QStringList &files, const QString &name) const
    {
        return {m_dir->path(), files, m_dir->path(), "hat.skn", name, path("")};
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_titles;
};

void TestCreateCommand::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Without a texture, so that the game lacks nothing.
    QVERIFY(writeFile(path("hat.skn"), "hat\r\nx\r\n1\r\nHEAD\r\n0\r\n"));
    m_titles.clear();
}

void TestCreateCommand::cleanup()
{
    setMessageHandler({});
}

// The "File Exists" question may stand open for minutes: a change made to the
// file meanwhile is said, read, and kept in the file written.
void TestCreateCommand::aFileChangedWhileAskedIsReadAgain()
{
    QVERIFY(writeFile(path("B001FAFit_01.cmx"), characterFile({{"PELVIS", "body"}})));
    const QByteArray changed = characterFile({{"PELVIS", "body"}, {"L_HAND", "ring"}});
    setMessageHandler([&](const Message &message) {
        m_titles.append(message.title);
        if (message.title == QStringLiteral("File Exists")) {
            if (m_titles.count(message.title) == 1)
                QVERIFY(writeFile(path("B001FAFit_01.cmx"), changed));
            setNextAnswer(MessageButton::Yes);
        }
    });
    const QList<CreatedFile> created =
        runCreateCommand(nullptr, inputs({"B001FAFit_01.cmx"}, "B001FAFit_01"));
    QCOMPARE(m_titles, (QStringList{"File Exists", "File Changed", "File Exists"}));
    QCOMPARE(created.size(), 1);
    const QByteArray written = readFile(path("B001FAFit_01.cmx"));
    QVERIFY(written.contains("L_HAND\r\nring\r\n") && written.contains("HEAD\r\nhat\r\n"));
    QCOMPARE(readFile(path("B001FAFit_01.cmx.bak")), changed);
}

#ifdef Q_OS_UNIX
// As kelvane-attach refuses it: a new file that is, through a link, one of
// the files selected is never written.
void TestCreateCommand::severalFilesNeverReplaceAnInputThroughALink()
{
    const QByteArray body = characterFile({{"PELVIS", "body"}});
    for (const char *file : {"A001MA_x.cmx", "D001MA_y.cmx"})
        QVERIFY(writeFile(path(file), body));
    QVERIFY(QFile::link(path("D001MA_y.cmx"), path("A001MA_new.cmx")));
    setMessageHandler(
        [&](const Message &message) { m_titles.append(message.title + ": " + message.text); });
    const QList<CreatedFile> created =
        runCreateCommand(nullptr, inputs({"A001MA_x.cmx", "D001MA_y.cmx"}, "*_new"));
    QVERIFY(created.isEmpty());
    QCOMPARE(m_titles.size(), 1);
    QVERIFY2(m_titles.first().startsWith("Error: ") && m_titles.first().contains("D001MA_y.cmx, "
                                                                                 "which is read"),
             qPrintable(m_titles.first()));
    QCOMPARE(readFile(path("D001MA_y.cmx")), body);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 4);
}
#endif

QTEST_MAIN(TestCreateCommand)
#include "tst_createcommand.moc"
