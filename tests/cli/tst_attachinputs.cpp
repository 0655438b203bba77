#include "attachfolder.h"

#include "cli/commandline.h"
#include "cli/consoleoutput.h"

#include <QFile>

using namespace kelvane;

namespace {

// kelvane-attach run in this process from inside a folder holding an archive
// of the game's kind, with WINEPREFIX and HOME as each test sets them.
class AttachInputs : public AttachFolder
{
protected:
    void SetUp() override
    {
        AttachFolder::SetUp();
        using namespace testsupport;
        const QByteArray skins = characterFile({{"PELVIS", "b"}});
        ASSERT_TRUE(writeFile(path("Game.far"), farArchive({{"Skins\\B9FAFit_a.cmx", skins},
                                                            {"Skins\\b9MAFat_b.cmx", skins},
                                                            {"Skins\\C1MA_c.cmx", skins},
                                                            {"Other\\B9x.cmx", skins}})));
        m_previousFolder = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
        for (const char *name : {"WINEPREFIX", "HOME"})
            m_environment.append({name, qgetenv(name)});
    }
    void TearDown() override
    {
        QDir::setCurrent(m_previousFolder);
        for (const auto &[name, value] : std::as_const(m_environment))
            qputenv(name, value);
    }

    static Outcome run(const QStringList &arguments)
    {
        CapturedOutput console;
        const int exitCode =
            runAttachCommand(QStringList{QStringLiteral("kelvane-attach")} + arguments, console);
        return {exitCode, console.out, console.err};
    }

    void mkpath(const QString &relative) { ASSERT_TRUE(QDir(m_dir.path()).mkpath(relative)); }

    QString m_previousFolder;
    QList<std::pair<const char *, QByteArray>> m_environment;
};

} // namespace

TEST_F(AttachInputs, PatternsInAnArchiveAndReplacesSayWhereTheOldContentWent)
{
    const Outcome list = run({"--list", "Game.far/skins/B9*.cmx"});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out.count("PELVIS\tb"), 2) << "entries of other folders are left out";

    const Outcome none = run({"--list", "Game.far/Skins/Z*.cmx"});
    EXPECT_EQ(none.exitCode, kExitUsage);
    EXPECT_TRUE(none.err.contains("Game.far/Skins/Z*.cmx: no file matches this pattern."))
        << none.err.toStdString();

    const Outcome replaced = run({"--in-place", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(
        replaced.err.contains(QStringLiteral("note: the old content of %1 is kept as %2.")
                                  .arg(path("B001FAFit_01.cmx"), path("B001FAFit_01.cmx.bak"))))
        << replaced.err.toStdString();
}

#ifndef Q_OS_WIN
TEST_F(AttachInputs, WindowsPathsNameFilesOfTheWinePrefixInUse)
{
    mkpath("prefix/dosdevices");
    ASSERT_TRUE(QFile::link(m_dir.path(), path("prefix/dosdevices/c:")));
    qputenv("WINEPREFIX", QFile::encodeName(path("prefix")));

    const Outcome mapped = run({"--list", "c:\\b001fafit_01.cmx", "C:\\GAME.FAR\\Skins\\b9*"});
    EXPECT_EQ(mapped.exitCode, 0) << mapped.err.toStdString();
    EXPECT_EQ(mapped.out.count("PELVIS\tb"), 3);

    const Outcome unmapped = run({"--list", "Q:\\Skins\\B001FAFit_01.cmx"});
    EXPECT_EQ(unmapped.exitCode, kExitUsage);
    EXPECT_TRUE(unmapped.err.contains("has no drive Q:")) << unmapped.err.toStdString();
}

TEST_F(AttachInputs, FindGameLooksInLutrisAndBottlesAndSaysWhereItLooked)
{
    qputenv("HOME", QFile::encodeName(path("home")));
    qunsetenv("WINEPREFIX");
    mkpath("home/Games/sims/dosdevices");
    mkpath("home/Games/sims/drive_c/Program Files (x86)/Maxis/The Sims/GameData/Skins");
    ASSERT_TRUE(QFile::link("../drive_c", path("home/Games/sims/dosdevices/c:")));
    mkpath("home/Games/notaprefix");
    mkpath("home/.var/app/com.usebottles.bottles/data/bottles/bottles/b1/drive_c");

    const Outcome found = run({"--find-game"});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_TRUE(found.out.contains("Games/sims/drive_c/Program Files (x86)/Maxis/The Sims"))
        << found.out.toStdString() << found.err.toStdString();

    ASSERT_TRUE(QDir(path("home/Games/sims/drive_c/Program Files (x86)")).removeRecursively());
    const Outcome none = run({"--find-game"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.isEmpty());
    for (const QString &place :
         {path("home/.wine") + " (Wine): no such prefix", path("home/Games/sims") + " (Lutris)",
          path("home/.var/app/com.usebottles.bottles/data/bottles/bottles/"
               "b1") +
              " (Bottles (Flatpak))",
          QStringLiteral("WINEPREFIX=")})
        EXPECT_TRUE(none.err.contains(place)) << place.toStdString() << none.err.toStdString();
    EXPECT_FALSE(none.err.contains("notaprefix"));
}
#endif
