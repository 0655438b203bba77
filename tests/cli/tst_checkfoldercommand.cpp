#include "cli/commandline.h"
#include "tests/cli/attachfolder.h"
#include "tests/foldercheck/seededfolder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

Outcome run(const QStringList &arguments)
{
    CapturedOutput console;
    const int exitCode = kelvane::runAttachCommand(
        QStringList{QStringLiteral("kelvane-attach")} + arguments, console);
    return {exitCode, console.out, console.err};
}

QStringList linesOf(const QByteArray &out)
{
    return QString::fromLocal8Bit(out).split(u'\n', Qt::SkipEmptyParts);
}

class CheckFolderCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_game = writeSeededGame(m_dir.path());
        ASSERT_FALSE(m_game.skins.isEmpty());
    }

    QTemporaryDir m_dir;
    SeededGame m_game;
};

TEST_F(CheckFolderCommand, PrintsFindingsByFileThenFixesAndRenumbers)
{
    const QString skins = QDir::toNativeSeparators(m_game.skins);
    const Outcome checked = run({QStringLiteral("--check-folder"), skins});
    EXPECT_EQ(checked.exitCode, 1);
    QStringList lines = linesOf(checked.out);
    ASSERT_FALSE(lines.isEmpty());
    // A folder that tells no case apart holds one file of the twins, and no clash.
    const int twins = m_game.caseTwins ? 2 : 0;
    EXPECT_EQ(lines.takeLast(),
              QStringLiteral("%1 files checked, %2 findings, 5 that --fix would mend.")
                  .arg(27 + twins / 2)
                  .arg(12 + twins));
    EXPECT_EQ(lines.size(), 12 + twins);
    for (const QString &line : std::as_const(lines))
        EXPECT_TRUE(line.startsWith(skins + QDir::separator())) << qPrintable(line);
    EXPECT_TRUE(
        lines.contains(
            QDir::toNativeSeparators(m_game.skins + QStringLiteral("/broken.cmx")) +
            QStringLiteral(": cannot be read as a character file (the file is empty.); the game "
                           "crashes or shows nothing.")) ||
        checked.out.contains("broken.cmx: cannot be read as a character file"));

    const Outcome fixed = run({QStringLiteral("--check-folder"), QStringLiteral("--fix"), skins,
                               QDir::toNativeSeparators(m_game.skinsBuy)});
    EXPECT_EQ(fixed.exitCode, 1);
    EXPECT_TRUE(fixed.out.contains("B101FAFit_01.cmx.bak")) << fixed.out.constData();
    EXPECT_TRUE(fixed.out.contains("B100FAFitmed_01.bmp.bak"));
    EXPECT_TRUE(fixed.err.isEmpty()) << qPrintable(fixed.err);

    const Outcome renumbered = run({QStringLiteral("--check-folder"), QStringLiteral("--renumber"),
                                    QStringLiteral("b106fafit_02.cmx"), skins});
    EXPECT_TRUE(renumbered.out.contains("to B002FAFit_02.cmx.")) << renumbered.out.constData();
    const QStringList after = linesOf(run({QStringLiteral("--check-folder"), skins}).out);
    EXPECT_EQ(after.constLast(),
              QStringLiteral("%1 files checked, %2 findings, 0 that --fix would mend.")
                  .arg(27 + twins / 2)
                  .arg(5 + twins));
    EXPECT_EQ(
        run({QStringLiteral("--check-folder"), QDir::toNativeSeparators(m_game.skinsBuy)}).exitCode,
        0);
}

TEST_F(CheckFolderCommand, UsageFaultsExitWithTwo)
{
    const QString skins = m_game.skins;
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--fix"), skins},
          QStringList{QStringLiteral("--check-folder")},
          QStringList{QStringLiteral("--check-folder"), QStringLiteral("--in-place"), skins},
          QStringList{QStringLiteral("--check-folder"),
                      skins + QStringLiteral("/B100FAFit_01.cmx")}})
        EXPECT_EQ(run(arguments).exitCode, 2) << qPrintable(arguments.join(u' '));
    EXPECT_EQ(run({QStringLiteral("--check-folder"), QStringLiteral("--renumber"),
                   QStringLiteral("nosuch.cmx"), skins})
                  .exitCode,
              1);
}

} // namespace
