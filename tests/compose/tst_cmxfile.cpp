#include "compose/cmxfile.h"
#include "compose/linelist.h"
#include "tests/support/files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

const QString kSep = QDir::separator();

// A skins folder holding a character file and a mesh file, and an output folder.
class CreateFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("skins"));
        ASSERT_TRUE(QDir(root.path()).mkpath("out"));
        skins = QDir::toNativeSeparators(root.filePath("skins"));
        out = QDir::toNativeSeparators(root.filePath("out"));
        ASSERT_TRUE(testsupport::writeFile(
            root.filePath("skins/B001FAFit_01.cmx"),
            testsupport::characterFile({{"PELVIS", "body"}, {"SPINE", "back"}})));
        ASSERT_TRUE(testsupport::writeFile(root.filePath("skins/hat.skn"),
                                           testsupport::meshFile("hat", "HEAD")));
    }

    Result<QString> create(const QString &name, const QString &folder,
                           const QString &character = "B001FAFit_01.cmx",
                           const QString &mesh = "hat.skn")
    {
        return CreateAttachedCmxFile(skins, character, skins, mesh, name, folder);
    }

    QStringList outputFolderEntries() const
    {
        return QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir root;
    QString skins;
    QString out;
};

} // namespace

TEST(OutputPaths, SeparatorIsAddedOnlyWhenMissing)
{
    EXPECT_EQ(outputFilePath("games", "head_new"), "games" + kSep + "head_new.cmx");
    EXPECT_EQ(outputFilePath("games" + kSep, "head_new"), "games" + kSep + "head_new.cmx");
    EXPECT_EQ(outputFilePath("", "n"), kSep + "n.cmx");
    EXPECT_EQ(outputFilePath("g", "head.cmx"), "g" + kSep + "head.cmx.cmx");
}

TEST(OutputPaths, InputPathsAlwaysGetASeparator)
{
    EXPECT_EQ(inputFilePath("skins", "a.cmx"), "skins" + kSep + "a.cmx");
    EXPECT_EQ(inputFilePath(kSep, "a.cmx"), kSep + kSep + "a.cmx");
}

TEST_F(CreateFile, WritesTheComposedTextWithAClosingCrLf)
{
    const Result<QString> result = create("B001FAFit_new", out);
    ASSERT_TRUE(result.ok()) << result.error().toStdString();
    EXPECT_EQ(result.value(), out + kSep + "B001FAFit_new.cmx");
    const QByteArray written = testsupport::readFile(result.value());
    EXPECT_TRUE(written.startsWith("// Character File. Copyright 1997, Maxis Inc.\r\nVersion 300"));
    EXPECT_TRUE(written.endsWith("\r\nHEAD\r\nhat\r\n0\r\n0\r\n0\r\n"));
    EXPECT_EQ(splitLines(written).size(), 13 + 4 * 2 + 1);
    EXPECT_EQ(outputFolderEntries(), QStringList{"B001FAFit_new.cmx"});
}

TEST_F(CreateFile, EmptyNameWritesDotCmx)
{
    const Result<QString> result = create("", out + kSep);
    ASSERT_TRUE(result.ok()) << result.error().toStdString();
    EXPECT_EQ(outputFolderEntries(), QStringList{".cmx"});
    EXPECT_EQ(splitLines(testsupport::readFile(result.value()))[4], "");
}

TEST_F(CreateFile, MeshIsNeverReadPastItsFirst400Bytes)
{
    QByteArray mesh = testsupport::meshFile("hat", "HEAD", 0);
    mesh += QByteArray(400 - mesh.size(), 'x') + "\r\nBEYOND\r\n";
    ASSERT_TRUE(testsupport::writeFile(QDir(skins).filePath("long.skn"), mesh));
    const Result<QString> result = create("n", out, "B001FAFit_01.cmx", "long.skn");
    ASSERT_TRUE(result.ok()) << result.error().toStdString();
    EXPECT_FALSE(testsupport::readFile(result.value()).contains("BEYOND"));
}

TEST_F(CreateFile, ReplacingTheCharacterFileExtendsIt)
{
    const QString characterPath = QDir(skins).filePath("B001FAFit_01.cmx");
    for (int run = 1; run <= 2; ++run) {
        const Result<QString> result = create("B001FAFit_01", skins);
        ASSERT_TRUE(result.ok()) << result.error().toStdString();
        const LineList lines = splitLines(testsupport::readFile(characterPath));
        EXPECT_EQ(lines[7], QByteArray::number(2 + run));
        EXPECT_EQ(lines[8], "PELVIS");
        EXPECT_EQ(lines[12], "SPINE");
    }
    EXPECT_EQ(QDir(skins).entryList(QDir::Files).size(), 2);
}

TEST_F(CreateFile, SecondRunReplacesTheFirst)
{
    ASSERT_TRUE(create("n", out).ok());
    const QByteArray first = testsupport::readFile(out + kSep + "n.cmx");
    ASSERT_TRUE(create("n", out).ok());
    EXPECT_EQ(testsupport::readFile(out + kSep + "n.cmx"), first);
    EXPECT_EQ(outputFolderEntries(), QStringList{"n.cmx"});
}

TEST_F(CreateFile, EveryFailureNamesTheCulpritAndWritesNothing)
{
    ASSERT_TRUE(testsupport::writeFile(QDir(skins).filePath("bad.cmx"),
                                       testsupport::characterFileWithCount("abc", {})));
    ASSERT_TRUE(testsupport::writeFile(QDir(skins).filePath("short.skn"), "hat\r\ntex\r\n1"));
    ASSERT_TRUE(testsupport::writeFile(QDir(out).filePath("existing.cmx"), "keep me"));
    ASSERT_TRUE(testsupport::writeFile(root.filePath("plainfile"), "x"));

    struct Case {
        QString name, folder, character, mesh, expected;
    };
    const QList<Case> cases = {
        {"n", out, "missing.cmx", "hat.skn", "missing.cmx: the file does not exist."},
        {"n", out, "B001FAFit_01.cmx", "missing.skn", "missing.skn: the file does not exist."},
        {"n", out, "bad.cmx", "hat.skn",
         "bad.cmx: line 7 should be the number of skins, but it is \"abc\"."},
        {"n", out, "B001FAFit_01.cmx", "short.skn", "short.skn: line 3 (the bone"},
        {"existing", out, "bad.cmx", "hat.skn", "bad.cmx: line 7"},
        {"n", out + kSep + "nowhere", "B001FAFit_01.cmx", "hat.skn",
         "nowhere: the output folder does not exist."},
        {"n", root.filePath("plainfile"), "B001FAFit_01.cmx", "hat.skn",
         "plainfile: the output folder is not a folder."},
        {"a" + kSep + "b", out, "B001FAFit_01.cmx", "hat.skn", "The new name holds"},
        {"n", out, "", "hat.skn", ": the file cannot be read"},
    };
    for (const Case &c : cases) {
        const Result<QString> result = create(c.name, c.folder, c.character, c.mesh);
        EXPECT_FALSE(result.ok()) << c.expected.toStdString();
        EXPECT_TRUE(result.error().contains(c.expected))
            << result.error().toStdString() << " / " << c.expected.toStdString();
        EXPECT_EQ(outputFolderEntries(), QStringList{"existing.cmx"});
    }
    EXPECT_EQ(testsupport::readFile(QDir(out).filePath("existing.cmx")), "keep me");
}

TEST_F(CreateFile, HugeCharacterFileIsRefusedUnread)
{
    QFile huge(QDir(skins).filePath("huge.cmx"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(65 * 1024 * 1024));
    huge.close();
    const Result<QString> result = create("n", out, "huge.cmx");
    EXPECT_TRUE(result.error().contains("huge.cmx: the file is larger than 64 MB"))
        << result.error().toStdString();
    EXPECT_TRUE(outputFolderEntries().isEmpty());
}

TEST_F(CreateFile, UnwritableTargetIsReportedAndLeavesNoTemporaryFile)
{
    ASSERT_TRUE(QDir(out).mkdir("taken.cmx"));
    const Result<QString> result = create("taken", out);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error().contains("taken.cmx: the file cannot be written"))
        << result.error().toStdString();
    EXPECT_EQ(outputFolderEntries(), QStringList{"taken.cmx"});
}
