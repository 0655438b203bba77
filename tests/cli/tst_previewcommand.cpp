// kelvane-attach --preview run as a process, as players run it.
#include "cli/commandline.h"
#include "tests/support/previewfiles.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PreviewCommand : public ::testing::Test
{
protected:
    // Exit code and standard error, where no game is found: only the files
    // beside the character count.
    std::pair<int, QString> run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_dir.filePath("home"));
        environment.insert("WINEPREFIX", m_dir.filePath("prefix"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KELVANE_ATTACH_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.readAllStandardOutput(), process.exitCode() ? "" : "out.png\n");
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files); }
    QTemporaryDir m_dir;
};

TEST_F(PreviewCommand, WritesThePictureOrNothing)
{
    ASSERT_TRUE(testsupport::writeDressedCharacter(m_dir.path(), false));
    const auto [unposed, why] = run({"--preview", "out.png", "B001MA_body.cmx", "hat.skn"});
    EXPECT_TRUE(unposed == 1 && why.contains("adult-skeleton.cmx")) << why.toStdString();

    ASSERT_TRUE(testsupport::writeDressedCharacter(m_dir.path(), true));
    EXPECT_EQ(run({"--preview", "out.png", "--tone", "med", "B001MA_body.cmx"}).first, 1);
    EXPECT_EQ(run({"--preview", "none/out.png", "B001MA_body.cmx"}).first, 1);
    const QStringList before = files();
    EXPECT_FALSE(before.contains("out.png"));

    const auto [drawn, notes] = run({"--preview", "out.png", "--size", "64x48", "--tone", "drk",
                                     "--angle", "-30", "B001MA_body.cmx", "hat.skn"});
    EXPECT_EQ(drawn, 0) << notes.toStdString();
    EXPECT_TRUE(notes.startsWith("kelvane-attach: note: ")) << notes.toStdString();
    EXPECT_EQ(files().size(), before.size() + 1);
    EXPECT_EQ(QImage(m_dir.filePath("out.png"), "PNG").size(), QSize(64, 48));
}

TEST_F(PreviewCommand, UsageFaultsExitWithTwo)
{
    const QList<QStringList> misuses = {
        {"--preview", "out.png"},
        {"--preview", "out.png", "a.cmx", "b.cmx", "hat.skn"},
        {"--preview", "a.cmx", "b.cmx", "hat.skn"},
        {"--preview", "out.png", "--size", "0x0", "a.cmx"},
        {"--preview", "out.png", "--size", "8193x10", "a.cmx"},
        {"--preview", "out.png", "--angle", "left", "a.cmx"},
        {"--preview", "out.png", "--tone", "pale", "a.cmx"},
        {"--preview", "out.png", "--out", ".", "a.cmx", "hat.skn"},
        {"--preview", "out.png", "--list", "a.cmx"},
        {"--size", "64x64", "a.cmx", "hat.skn"},
    };
    for (const QStringList &arguments : misuses)
        EXPECT_FALSE(kelvane::parseAttachJob(QStringList{"kelvane-attach"} + arguments).ok())
            << arguments.join(' ').toStdString();
    EXPECT_EQ(run(misuses.constLast()).first, 2);
}

} // namespace
