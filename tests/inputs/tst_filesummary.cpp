#include "base/linelist.h"
#include "compose/attach.h"
#include "formats/textcharacter.h"
#include "inputs/filesummary.h"
#include "inputs/inputfiles.h"
#include "tests/support/attachedcmxfile.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

// A folder of input files, each summarized and handed to the create command.
class Summary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        write("good.cmx", testsupport::characterFile({{"PELVIS", "body"}, {"HEAD", "face"}}));
        write("hat.skn", testsupport::meshFile("hat", "HEAD"));
    }

    QString path(const QString &name) const
    {
        return QDir::toNativeSeparators(m_root.filePath(name));
    }
    void write(const QString &name, const QByteArray &bytes)
    {
        ASSERT_TRUE(testsupport::writeFile(m_root.filePath(name), bytes));
    }
    QString createError(const QString &character, const QString &mesh) const
    {
        return CreateAttachedCmxFile(QDir::toNativeSeparators(m_root.path()), character,
                                     QDir::toNativeSeparators(m_root.path()), mesh, "out",
                                     QDir::toNativeSeparators(m_root.path()))
            .error();
    }

    QTemporaryDir m_root;
};

} // namespace

TEST_F(Summary, CharacterFileListsItsSkinsInOrder)
{
    const Result<QList<Skin>> summary = summarizeCharacterFile(path("good.cmx"));
    ASSERT_TRUE(summary.ok()) << summary.error().toStdString();
    ASSERT_EQ(summary.value().size(), 2);
    EXPECT_EQ(summary.value()[0].bone, "PELVIS");
    EXPECT_EQ(summary.value()[0].mesh, "body");
    EXPECT_EQ(summary.value()[1].bone, "HEAD");
    EXPECT_EQ(summary.value()[1].mesh, "face");

    write("none.cmx", testsupport::characterFile({}));
    EXPECT_TRUE(summarizeCharacterFile(path("none.cmx")).ok());
    EXPECT_TRUE(summarizeCharacterFile(path("none.cmx")).value().isEmpty());
}

TEST_F(Summary, MeshFileGivesItsNameAndBone)
{
    const Result<Skin> summary = summarizeMeshFile(path("hat.skn"));
    ASSERT_TRUE(summary.ok()) << summary.error().toStdString();
    EXPECT_EQ(summary.value().mesh, "hat");
    EXPECT_EQ(summary.value().bone, "HEAD");
}

TEST_F(Summary, RefusedFileGivesTheCreateCommandsMessage)
{
    write("count.cmx", testsupport::characterFileWithCount("many", {}));
    write("short.cmx", testsupport::characterFileWithCount("3", {{"A", "a"}}));
    write("huge.cmx", {});
    ASSERT_TRUE(QFile::resize(m_root.filePath("huge.cmx"), 65 * 1024 * 1024));
    ASSERT_TRUE(QDir(m_root.path()).mkdir("folder.cmx"));
    for (const char *character :
         {"count.cmx", "short.cmx", "huge.cmx", "folder.cmx", "missing.cmx"}) {
        const Result<QList<Skin>> summary = summarizeCharacterFile(path(character));
        EXPECT_FALSE(summary.ok()) << character;
        EXPECT_EQ(summary.error(), createError(character, "hat.skn")) << character;
    }

    QByteArray late = testsupport::meshFile("hat", "HEAD", 0);
    late.insert(late.indexOf("\r\nHEAD"), QByteArray(400, 'x'));
    write("late.skn", late);
    write("empty.skn", {});
    for (const char *mesh : {"late.skn", "empty.skn", "missing.skn"}) {
        const Result<Skin> summary = summarizeMeshFile(path(mesh));
        EXPECT_FALSE(summary.ok()) << mesh;
        EXPECT_EQ(summary.error(), createError("good.cmx", mesh)) << mesh;
    }
}

// Reading stops early only where the rest cannot change the lines composing
// uses: the lines must come out as from the whole text.
TEST_F(Summary, BoundedReadingGivesTheLinesOfTheWholeText)
{
    const QByteArray groups = testsupport::characterFile({{"A", "a"}, {"B", "b"}});
    const QByteArray tail(200 * 1024, 'x');
    QByteArray straddling = groups;
    straddling.insert(straddling.indexOf("\r\nB\r\n"), QByteArray(64 * 1024, 'y'));
    const QList<QByteArray> texts = {
        groups + tail,
        testsupport::characterFile({{"A", "a"}}, "\n") + tail,
        testsupport::characterFile({{"A", "a"}}, "\n") + tail + "\r\n",
        straddling,
        QByteArray(64 * 1024 - 1, 'z') + "\r\n" + groups,
        "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n99999\r\n" + tail,
        QByteArray(),
    };
    for (const QByteArray &text : texts) {
        write("x.cmx", text);
        const Result<QByteArray> read = readCharacterFile(path("x.cmx"));
        ASSERT_TRUE(read.ok()) << read.error().toStdString();
        EXPECT_EQ(splitCharacterFile(read.value()), splitCharacterFile(text))
            << text.left(60).data();
    }

    write("x.cmx", groups + tail);
    EXPECT_LT(readCharacterFile(path("x.cmx")).value().size(), tail.size());
}

TEST_F(Summary, AttachedMeshIsToldBySameBoneAndMesh)
{
    write("hatted.cmx", testsupport::characterFile({{"PELVIS", "body"}, {"HEAD", "hat"}}));
    write("other.skn", testsupport::meshFile("hat", "NECK"));
    const auto held = [this](const char *character, const char *mesh) {
        return composeFromFiles(path(character), path(mesh), "n").value().alreadyHeld;
    };
    EXPECT_TRUE(held("hatted.cmx", "hat.skn"));
    EXPECT_FALSE(held("hatted.cmx", "other.skn"));
    EXPECT_FALSE(held("good.cmx", "hat.skn"));
    EXPECT_FALSE(composeFromFiles(path("missing.cmx"), path("hat.skn"), "n").ok());
}
