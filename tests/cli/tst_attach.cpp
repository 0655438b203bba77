#include "testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode;
    QByteArray out;
    QString err;
};

// A skins folder with two character files, a broken one and a mesh file.
class AttachCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        testfiles::writeAll(path("B001FAFit_01.cmx"), testfiles::characterFile({{"PELVIS", "b"}}));
        testfiles::writeAll(path("C001MA_hat.cmx"), testfiles::characterFile({}));
        testfiles::writeAll(path("broken.cmx"), testfiles::characterFileWithCount("2.5", {}));
        testfiles::writeAll(path("glasses.skn"), testfiles::meshFile("glasses", "HEAD"));
    }

    QString path(const QString &name) const { return QDir::toNativeSeparators(dir.filePath(name)); }

    Outcome run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(KELVANE_ATTACH_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), process.readAllStandardOutput(),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QStringList cmxFiles() const { return QDir(dir.path()).entryList({"*.cmx"}, QDir::Files); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(AttachCommand, DefaultsToTheNameProposalInTheCharacterFilesFolder)
{
    const Outcome r = run({path("B001FAFit_01.cmx"), path("C001MA_hat.cmx"), path("glasses.skn")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromLocal8Bit(r.out),
              path("B001FAFit_new.cmx") + "\n" + path("C001MA_new.cmx") + "\n");
    const QByteArray written = testfiles::readAll(path("C001MA_new.cmx"));
    EXPECT_TRUE(written.contains("\r\nC001MA_new\r\n0\r\n0\r\n1\r\nHEAD\r\nglasses\r\n"));
}

TEST_F(AttachCommand, NameAndOutputFolderCanBeGiven)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    const Outcome r =
        run({"--name", "B001FAFit_hat", "--out", path("out"), "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromLocal8Bit(r.out.trimmed()),
              path("out") + QDir::separator() + "B001FAFit_hat.cmx");
}

TEST_F(AttachCommand, StdoutGetsTheBytesOfTheFileAndNoFileIsWritten)
{
    const Outcome r = run({"--stdout", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("// Character File. Copyright 1997, Maxis Inc.\r\n"));
    EXPECT_TRUE(r.out.endsWith("\r\nHEAD\r\nglasses\r\n0\r\n0\r\n0\r\n"));
    EXPECT_EQ(cmxFiles().size(), 3);
}

TEST_F(AttachCommand, FailedFileIsReportedWhileTheOthersAreDone)
{
    const Outcome r = run({"broken.cmx", "C001MA_hat.cmx", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("broken.cmx: line 7 should be the number of skins, but it is "
                               "\"2.5\"."))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("broken_new.cmx")));
    EXPECT_TRUE(QFile::exists(path("C001MA_new.cmx")));
}

TEST_F(AttachCommand, TwoFilesProposingOneNameDoNotOverwriteEachOther)
{
    testfiles::writeAll(path("C001MA_cap.cmx"), testfiles::characterFile({{"X", "y"}}));
    const Outcome r = run({"C001MA_hat.cmx", "C001MA_cap.cmx", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("C001MA_cap.cmx: skipped")) << r.err.toStdString();
    const QByteArray written = testfiles::readAll(path("C001MA_new.cmx"));
    EXPECT_TRUE(written.contains("\r\n0\r\n0\r\n1\r\nHEAD\r\n")) << written.toStdString();
}

TEST_F(AttachCommand, MissingMeshFailsEveryFile)
{
    const Outcome r = run({"B001FAFit_01.cmx", "nothere.skn"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("nothere.skn: the file does not exist.")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(AttachCommand, UsageErrorsExitWithTwoAndWriteNothing)
{
    const QList<QStringList> misuses = {
        {},
        {"glasses.skn"},
        {"--name", "x", "B001FAFit_01.cmx", "C001MA_hat.cmx", "glasses.skn"},
        {"--stdout", "B001FAFit_01.cmx", "C001MA_hat.cmx", "glasses.skn"},
        {"--stdout", "--out", ".", "B001FAFit_01.cmx", "glasses.skn"},
        {"--bogus", "B001FAFit_01.cmx", "glasses.skn"},
        {"--name"},
    };
    for (const QStringList &arguments : misuses) {
        const Outcome r = run(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_EQ(cmxFiles().size(), 3);
}

TEST_F(AttachCommand, HelpAndVersionSucceed)
{
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--stdout"));
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.contains("kelvane-attach 1.0"));
}

#ifdef Q_OS_UNIX
// A write cut off by a file-size limit (which binds root too) must leave the
// file it would have replaced byte-identical and no temporary file behind.
TEST_F(AttachCommand, WriteCutOffPartWayLeavesTheOldFileWhole)
{
    QList<testfiles::Skin> skins(200, testfiles::Skin{"SPINE", "xskin-b001fafit_01-SPINE-BODY"});
    testfiles::writeAll(path("big.cmx"), testfiles::characterFile(skins));
    testfiles::writeAll(path("big_new.cmx"), "the old file");
    const QByteArray original = testfiles::readAll(path("big.cmx"));

    for (const QString &name : {QStringLiteral("big_new"), QStringLiteral("big")}) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start("bash", {"-c", "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"",
                               KELVANE_ATTACH_PATH, "--name", name, "big.cmx", "glasses.skn"});
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(name + ".cmx: the file cannot be written")) << err.toStdString();
    }
    EXPECT_EQ(testfiles::readAll(path("big_new.cmx")), "the old file");
    EXPECT_EQ(testfiles::readAll(path("big.cmx")), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6);
}
#endif
