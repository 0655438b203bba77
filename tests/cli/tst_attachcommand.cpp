#include "attachfolder.h"

#include "cli/commandline.h"
#include "cli/consoleoutput.h"

#include "version.h"

#include <QFile>

using namespace kelvane;

namespace {

class CapturedOutput : public ConsoleOutput
{
public:
    void printLine(const QString &text) override
    {
        out += (text + QLatin1Char('\n')).toLocal8Bit();
    }
    void printError(const QString &text) override { err += text + QLatin1Char('\n'); }
    bool writeBytes(const QByteArray &bytes) override
    {
        out += bytes;
        return true;
    }

    QByteArray out;
    QString err;
};

// kelvane-attach run in this process, from inside the skins folder.
class AttachCommand : public AttachFolder
{
protected:
    void SetUp() override
    {
        AttachFolder::SetUp();
        m_previousFolder = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    }
    void TearDown() override { QDir::setCurrent(m_previousFolder); }

    static Outcome run(const QStringList &arguments)
    {
        CapturedOutput console;
        const int exitCode =
            runAttachCommand(QStringList{QStringLiteral("kelvane-attach")} + arguments, console);
        return {exitCode, console.out, console.err};
    }

    QString m_previousFolder;
};

} // namespace

TEST_F(AttachCommand, DefaultsToTheNameProposalInTheCharacterFilesFolder)
{
    const Outcome r = run({path("B001FAFit_01.cmx"), path("C001MA_hat.cmx"), path("glasses.skn")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromLocal8Bit(r.out),
              path("B001FAFit_new.cmx") + "\n" + path("C001MA_new.cmx") + "\n");
    const QByteArray written = testsupport::readFile(path("C001MA_new.cmx"));
    EXPECT_TRUE(written.contains("\r\nC001MA_new\r\n0\r\n0\r\n1\r\nHEAD\r\nglasses\r\n"));
}

TEST_F(AttachCommand, NameAndOutputFolderCanBeGiven)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("out"));
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
    ASSERT_TRUE(
        testsupport::writeFile(path("C001MA_cap.cmx"), testsupport::characterFile({{"X", "y"}})));
    const Outcome r = run({"C001MA_hat.cmx", "C001MA_cap.cmx", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("C001MA_cap.cmx: skipped")) << r.err.toStdString();
    const QByteArray written = testsupport::readFile(path("C001MA_new.cmx"));
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
        EXPECT_FALSE(parseAttachJob(QStringList{"kelvane-attach"} + arguments).ok());
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
    EXPECT_TRUE(version.out.contains("kelvane-attach " KELVANE_VERSION));
}
