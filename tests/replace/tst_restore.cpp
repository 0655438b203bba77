#include "inputs/filesummary.h"
#include "replace/restore.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace kelvane;
using testsupport::readFile;

namespace {

// A folder holding a.cmx and backups of it written at the times given.
class Restore : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const
    {
        return QDir::toNativeSeparators(m_dir.filePath(name));
    }
    void write(const QString &name, const QByteArray &bytes, int daysAgo = 0)
    {
        ASSERT_TRUE(testsupport::writeFile(path(name), bytes));
        if (daysAgo == 0)
            return;
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-daysAgo),
                                     QFileDevice::FileModificationTime));
    }
    // A character file told apart from others by its one mesh.
    static QByteArray cmx(const char *mesh) { return testsupport::characterFile({{"HEAD", mesh}}); }
    QStringList backupNames(const QString &name) const
    {
        QStringList names;
        for (const BackupFile &backup : backupsOf(path(name)))
            names.append(QFileInfo(backup.path).fileName());
        return names;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(Restore, BackupsAreListedNewestFirstByTheirTimeNotTheirNumber)
{
    write("a.cmx", cmx("now"));
    write("a.cmx.bak", cmx("last week"), 7);
    write("a.cmx.bak2", cmx("last month"), 30);
    write("a.cmx.bak3", cmx("yesterday"), 1);
    // Names that only look like backups of a.cmx.
    for (const char *other :
         {"a.cmx.bak1", "a.cmx.bak02", "a.cmx.bakx", "a.cmx.bak.bak", "b.cmx.bak", "a.cmx.bak2~"})
        write(other, "other");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("a.cmx.bak4"));

    EXPECT_EQ(backupNames("a.cmx"), (QStringList{"a.cmx.bak3", "a.cmx.bak", "a.cmx.bak2"}));
    EXPECT_EQ(backupsOf(path("a.cmx")).first().size, cmx("yesterday").size());
    EXPECT_EQ(fileOfBackup(path("a.cmx.bak3")), path("a.cmx"));
    EXPECT_EQ(fileOfBackup(path("a.cmx.bak")), path("a.cmx"));
    for (const char *other : {"a.cmx", "a.cmx.bak1", "a.cmx.bak02", "a.cmx.bakx", ".bak"})
        EXPECT_EQ(fileOfBackup(path(other)), QString()) << other;

    const Result<Restored> restored = restoreNewestBackup(path("a.cmx"));
    ASSERT_TRUE(restored.ok()) << restored.error().toStdString();
    EXPECT_EQ(readFile(path("a.cmx")), cmx("yesterday"));
    EXPECT_EQ(readFile(path("a.cmx.bak3")), cmx("yesterday")) << "a copy is restored";
    EXPECT_EQ(QFileInfo(restored.value().backupPath).fileName(), "a.cmx.bak3");
    EXPECT_EQ(QFileInfo(restored.value().keptAs).fileName(), "a.cmx.bak5");
    EXPECT_EQ(readFile(path("a.cmx.bak5")), cmx("now"));
}

TEST_F(Restore, RestoringTheNewestTwiceGetsBackToTheStart)
{
    write("a.cmx", cmx("extended"));
    write("a.cmx.bak", cmx("original"), 2);
    ASSERT_TRUE(restoreNewestBackup(path("a.cmx")).ok());
    EXPECT_EQ(readFile(path("a.cmx")), cmx("original"));
    const Result<Restored> again = restoreNewestBackup(path("a.cmx"));
    ASSERT_TRUE(again.ok()) << again.error().toStdString();
    EXPECT_EQ(QFileInfo(again.value().backupPath).fileName(), "a.cmx.bak2");
    EXPECT_EQ(readFile(path("a.cmx")), cmx("extended"));
    EXPECT_EQ(backupNames("a.cmx"), (QStringList{"a.cmx.bak3", "a.cmx.bak2", "a.cmx.bak"}));
    EXPECT_EQ(readFile(path("a.cmx.bak3")), cmx("original"));
}

TEST_F(Restore, ANamedBackupOfABinaryFileIsPutBackByteForByte)
{
    testsupport::BinaryCharacter body;
    body.skins = {{"PELVIS", "body", 7, 9}};
    const QByteArray original = testsupport::binaryCharacterFile(body);
    write("b.cmx.bcf.bak", original, 3);
    write("b.cmx.bcf.bak2", "newer, and no character file", 1);
    body.skins.append(testsupport::BinarySkin{"HEAD", "hat"});
    write("b.cmx.bcf", testsupport::binaryCharacterFile(body));

    const Result<Restored> restored = restoreBackup(path("b.cmx.bcf"), path("b.cmx.bcf.bak"));
    ASSERT_TRUE(restored.ok()) << restored.error().toStdString();
    EXPECT_EQ(readFile(path("b.cmx.bcf")), original);
    EXPECT_EQ(summarizeCharacterFile(path("b.cmx.bcf")).value().size(), 1);
    EXPECT_EQ(summarizeCharacterFile(restored.value().keptAs).value().size(), 2);
}

TEST_F(Restore, FailuresNameTheFileAndChangeNothing)
{
    write("a.cmx", cmx("now"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("a.cmx.bak"));
    const Result<Restored> missing = restoreBackup(path("a.cmx"), path("a.cmx.bak2"));
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().contains("a.cmx.bak2: the file does not exist"))
        << missing.error().toStdString();
    EXPECT_FALSE(restoreNewestBackup(path("a.cmx")).ok()) << "a folder is no backup";
    EXPECT_FALSE(restoreBackup(path("a.cmx"), path("a.cmx")).ok());
    EXPECT_EQ(readFile(path("a.cmx")), cmx("now"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"a.cmx", "a.cmx.bak"}));
}

#ifdef Q_OS_UNIX
TEST_F(Restore, ThroughALinkTheFileItLeadsToIsRestored)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("game"));
    write("game/a.cmx", cmx("now"));
    write("game/a.cmx.bak", cmx("before"), 1);
    ASSERT_TRUE(QFile::link(path("game/a.cmx"), path("link.cmx")));
    EXPECT_EQ(backupNames("link.cmx"), QStringList{"a.cmx.bak"});

    const Result<Restored> restored = restoreNewestBackup(path("link.cmx"));
    ASSERT_TRUE(restored.ok()) << restored.error().toStdString();
    EXPECT_EQ(restored.value().path, QFileInfo(path("game/a.cmx")).canonicalFilePath());
    EXPECT_EQ(readFile(path("game/a.cmx")), cmx("before"));
    EXPECT_EQ(readFile(path("game/a.cmx.bak2")), cmx("now"));
}
#endif

#ifdef Q_OS_UNIX
// A link to the file itself is no backup: the real one before it is restored.
TEST_F(Restore, ALinkToTheFileItselfIsNoBackup)
{
    write("a.cmx", cmx("now"));
    write("a.cmx.bak", cmx("before"), 1);
    ASSERT_TRUE(QFile::link(path("a.cmx"), path("a.cmx.bak2")));
    ASSERT_EQ(::link(QFile::encodeName(path("a.cmx")).constData(),
                     QFile::encodeName(path("a.cmx.bak3")).constData()),
              0);
    EXPECT_EQ(backupNames("a.cmx"), QStringList{"a.cmx.bak"});
    EXPECT_FALSE(restoreBackup(path("a.cmx"), path("a.cmx.bak3")).ok());
    const Result<Restored> restored = restoreNewestBackup(path("a.cmx"));
    ASSERT_TRUE(restored.ok()) << restored.error().toStdString();
    EXPECT_EQ(readFile(path("a.cmx")), cmx("before"));
}
#endif
