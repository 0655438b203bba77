// The kelvane-attach program itself, run as a process.
#include "attachfolder.h"
#include "tests/support/previewfiles.h"

#include "version.h"

#include <QFile>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

class AttachProgram : public AttachFolder
{
protected:
    Outcome run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(KELVANE_ATTACH_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), process.readAllStandardOutput(),
                QString::fromUtf8(process.readAllStandardError())};
    }
};

} // namespace

TEST_F(AttachProgram, WritesTheFileOrItsBytesOnStdout)
{
    // Printed whole, with letters that Windows' local code page lacks.
    const QString out = path(QStringLiteral("für Ωmega"));
    ASSERT_TRUE(QDir().mkdir(out));
    const Outcome written = run({"--out", out, path("B001FAFit_01.cmx"), path("glasses.skn")});
    EXPECT_EQ(written.exitCode, 0) << written.err.toStdString();
    const QString file = path(QStringLiteral("für Ωmega/B001FAFit_new.cmx"));
    EXPECT_EQ(QString::fromUtf8(written.out.trimmed()), file);
    const Outcome printed = run({"--stdout", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.out, testsupport::readFile(file));
}

TEST_F(AttachProgram, VersionAndUsageErrorExitCodes)
{
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.contains("kelvane-attach " KELVANE_VERSION));
    const Outcome misuse = run({"--bogus", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(misuse.exitCode, 2);
    EXPECT_TRUE(misuse.err.contains("Try 'kelvane-attach --help'.")) << misuse.err.toStdString();
    EXPECT_EQ(cmxFiles().size(), 3);
}

#ifdef Q_OS_UNIX
// Whatever it prints is part of what it does: a lost line is a failure, the
// files written stay written.
TEST_F(AttachProgram, OutputThatCannotBeWrittenIsAFailure)
{
    const QList<QStringList> runs = {
        {"--list", "B001FAFit_01.cmx"}, {"--version"}, {"B001FAFit_01.cmx", "glasses.skn"}};
    for (const QStringList &arguments : runs) {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(QStringLiteral(KELVANE_ATTACH_PATH), arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(err.endsWith("kelvane-attach: standard output could not be written (No space "
                                 "left on device).\n"))
            << err.toStdString();
    }
    EXPECT_TRUE(QFile::exists(path("B001FAFit_new.cmx")));
}

// As "kelvane-attach ... | head -c0" leaves it: the reader gone before the
// first line. Each file is still done.
TEST_F(AttachProgram, AClosedPipeOnStdoutIsAFailureNotTheEnd)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.setChildProcessModifier([&ends] {
        ::signal(SIGPIPE, SIG_DFL); // as a shell leaves it
        ::dup2(ends[1], STDOUT_FILENO);
    });
    process.start(KELVANE_ATTACH_PATH, {"B001FAFit_01.cmx", "C001MA_hat.cmx", "glasses.skn"});
    ASSERT_TRUE(process.waitForFinished(30000));
    ::close(ends[1]);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 1);
    EXPECT_TRUE(err.endsWith("standard output could not be written (Broken pipe).\n"))
        << err.toStdString();
    EXPECT_EQ(cmxFiles().size(), 5) << "both new files are written";
}

// A write cut off by a file-size limit (which binds root too) must leave the
// file it would have replaced byte-identical and no temporary file behind.
TEST_F(AttachProgram, WriteCutOffPartWayLeavesTheOldFileWhole)
{
    using namespace testsupport;
    const QList<Skin> skins(200, Skin{"SPINE", "xskin-b001fafit_01-SPINE-BODY"});
    ASSERT_TRUE(writeFile(path("big.cmx"), characterFile(skins)));
    const QByteArray old = characterFile({{"HEAD", "the old file"}});
    ASSERT_TRUE(writeFile(path("big_new.cmx"), old));
    const QByteArray original = readFile(path("big.cmx"));

    for (const QString &name : {QStringLiteral("big_new"), QStringLiteral("big")}) {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start("bash", {"-c", "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"",
                               KELVANE_ATTACH_PATH, "--name", name, "big.cmx", "glasses.skn"});
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(name + ".cmx: the file cannot be written")) << err.toStdString();
    }
    EXPECT_EQ(readFile(path("big_new.cmx")), old);
    EXPECT_EQ(readFile(path("big.cmx")), original);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6);
}

// On a full disk (a file size limit stands in for one) a copy or a picture
// is a failure: nothing of its name is left, nor a character file naming it.
TEST_F(AttachProgram, ACopyOrPictureCutOffIsAFailureAndLeavesNothing)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("out"));
    ASSERT_TRUE(testsupport::writeDressedCharacter(m_dir.path(), true));
    for (const QStringList &arguments :
         {QStringList{"--copy-mesh", "--out", "out", "B001FAFit_01.cmx", "hat.skn"},
          QStringList{"--preview", "out/body.png", "B001MA_body.cmx", "hat.skn"}}) {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start("bash", QStringList{"-c", "trap '' XFSZ; ulimit -f 0; exec \"$0\" \"$@\"",
                                          KELVANE_ATTACH_PATH} +
                                  arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(process.exitCode() == 1 && err.contains("the disk may be full"))
            << err.toStdString();
        EXPECT_EQ(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
}
#endif
