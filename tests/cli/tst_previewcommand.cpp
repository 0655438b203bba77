// kelvane-attach --preview, run as a process: the picture is written by the
// program as players run it.
#include "cli/commandline.h"
#include "tests/support/previewfiles.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Ran {
    int exitCode;
    QString out;
    QString err;
};

class PreviewCommand : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // Ran where no game is found: only the files beside the character count.
    Ran run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("WINEPREFIX"), m_dir.filePath(QStringLiteral("prefix")));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KELVANE_ATTACH_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir m_dir;
};

TEST_F(PreviewCommand, WritesThePictureAndNoCharacterFile)
{
    ASSERT_TRUE(testsupport::writeDressedCharacter(m_dir.path(), true));
    const QStringList before = files();
    const Ran drawn = run({"--preview", "out.png", "--size", "64x48", "--tone", "drk", "--angle",
                           "-30", "B001MA_body.cmx", "hat.skn"});
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err.toStdString();
    EXPECT_EQ(drawn.out, "out.png\n");
    EXPECT_TRUE(drawn.err.startsWith("kelvane-attach: note: ")) << drawn.err.toStdString();
    QStringList after = before + QStringList{"out.png"};
    after.sort();
    EXPECT_EQ(files(), after);
    EXPECT_EQ(QImage(m_dir.filePath("out.png"), "PNG").size(), QSize(64, 48));
}

TEST_F(PreviewCommand, WhatCannotBeFoundOrWrittenExitsOneWithoutPicture)
{
    ASSERT_TRUE(testsupport::writeDressedCharacter(m_dir.path(), false));
    const Ran unposed = run({"--preview", "out.png", "B001MA_body.cmx", "hat.skn"});
    EXPECT_EQ(unposed.exitCode, 1);
    EXPECT_TRUE(unposed.err.contains("adult-skeleton.cmx")) << unposed.err.toStdString();

    ASSERT_TRUE(testsupport::writeDressedCharacter(m_dir.path(), true));
    const Ran noTone = run({"--preview", "out.png", "--tone", "med", "B001MA_body.cmx"});
    EXPECT_EQ(noTone.exitCode, 1);
    EXPECT_TRUE(noTone.err.contains("found: lgt, drk")) << noTone.err.toStdString();
    const Ran nowhere = run({"--preview", "none/out.png", "B001MA_body.cmx"});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_TRUE(nowhere.err.contains("out.png")) << nowhere.err.toStdString();
    EXPECT_FALSE(files().contains("out.png"));
}

TEST_F(PreviewCommand, UsageFaultsExitWithTwo)
{
    const QList<QStringList> misuses = {
        {"--preview", "p.png"},
        {"--preview", "p.png", "a.cmx", "b.cmx", "hat.skn"},
        {"--preview", "a.cmx", "b.cmx", "hat.skn"},
        {"--preview", "p.png", "--size", "0x0", "a.cmx"},
        {"--preview", "p.png", "--size", "8193x10", "a.cmx"},
        {"--preview", "p.png", "--size", "wide", "a.cmx"},
        {"--preview", "p.png", "--angle", "left", "a.cmx"},
        {"--preview", "p.png", "--tone", "pale", "a.cmx"},
        {"--preview", "p.png", "--out", ".", "a.cmx", "hat.skn"},
        {"--preview", "p.png", "--list", "a.cmx"},
        {"--size", "64x64", "a.cmx", "hat.skn"},
        {"--tone", "lgt", "--list", "a.cmx"},
    };
    for (const QStringList &arguments : misuses)
        EXPECT_FALSE(kelvane::parseAttachJob(QStringList{"kelvane-attach"} + arguments).ok())
            << arguments.join(' ').toStdString();
    EXPECT_EQ(run(misuses.constLast()).exitCode, 2);
    EXPECT_TRUE(files().isEmpty());
}

} // namespace
