#include "attachfolder.h"

#include "base/linelist.h"
#include "cli/commandline.h"
#include "cli/consoleoutput.h"
#include "replace/replace.h"
#include "tests/support/previewfiles.h"

#include "version.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

using namespace kelvane;

namespace {

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
        {"--in-place", "--name", "x", "B001FAFit_01.cmx", "glasses.skn"},
        {"--in-place", "--out", ".", "B001FAFit_01.cmx", "glasses.skn"},
        {"--list"},
        {"--find-game", "B001FAFit_01.cmx"},
        {"--find-game", "--list", "B001FAFit_01.cmx"},
        // Help and version among files would do nothing with them.
        {"B001FAFit_01.cmx", "-v", "glasses.skn"},
        {"--help", "--", "B001FAFit_01.cmx", "glasses.skn"},
    };
    for (const QStringList &arguments : misuses) {
        const Outcome r = run(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_FALSE(parseAttachJob(QStringList{"kelvane-attach"} + arguments).ok());
    }
    EXPECT_EQ(cmxFiles().size(), 3);
}

TEST_F(AttachCommand, FileNamesBeginningWithADashGoAfterTwoDashes)
{
    ASSERT_TRUE(QFile::copy(path("glasses.skn"), path("-hat.skn")));
    const Outcome unknown = run({"B001FAFit_01.cmx", "-hat.skn"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith("kelvane-attach: -hat.skn: no such option; to name a file "
                                       "that begins with '-', put -- before it."))
        << unknown.err.toStdString();
    const Outcome version = run({"-v", "B001FAFit_01.cmx"});
    EXPECT_TRUE(version.err.contains("-v only prints the version and takes no files"))
        << version.err.toStdString();
    EXPECT_EQ(cmxFiles().size(), 3);

    const Outcome named = run({"B001FAFit_01.cmx", "--", "-hat.skn"});
    EXPECT_EQ(named.exitCode, 0) << named.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("B001FAFit_new.cmx")));
}

TEST_F(AttachCommand, HelpAndVersionSucceed)
{
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("\nUsage: kelvane-attach [--name NAME | --suffix TEXT]"));
    EXPECT_TRUE(help.out.contains("CHARACTER.cmx... MESH.skn\n"));
    // A console 80 columns wide shows every line as one.
    for (const QByteArray &line : help.out.split('\n'))
        EXPECT_LE(line.size(), 79) << line.toStdString();
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.contains("kelvane-attach " KELVANE_VERSION));
}

// The help opens with three examples in this system's paths, the Wine
// details come later, and each example does what it says.
TEST_F(AttachCommand, HelpStartsWithExamplesThatWork)
{
    const QString help = QString::fromLocal8Bit(run({"--help"}).out);
    const QString opening = help.left(help.indexOf("Usage:"));
    EXPECT_FALSE(opening.contains(QDir::separator() == '/' ? '\\' : '/')) << opening.toStdString();
    EXPECT_GT(help.indexOf("Wine"), help.indexOf("Usage:"));
    const QStringList examples =
        opening.split('\n').filter(QRegularExpression("^  kelvane-attach"));
    ASSERT_EQ(examples.size(), 3) << opening.toStdString();

    ASSERT_TRUE(QDir(m_dir.path()).mkpath("Downloads/family"));
    for (const QString file :
         {"family/B904FAFit_01.cmx", "C001MA_head.cmx", "glasses.skn", "tie.skn", "hat.skn"})
        ASSERT_TRUE(QFile::copy(path(file.endsWith(".skn") ? "glasses.skn" : "C001MA_hat.cmx"),
                                path("Downloads/" + file)));
    for (const QString &example : examples) {
        QStringList arguments = example.split(' ', Qt::SkipEmptyParts).mid(1);
        // Off Windows the shell expands the pattern; on Windows kelvane-attach does.
        if (QDir::separator() == '/')
            arguments.replaceInStrings("*.cmx", "B904FAFit_01.cmx");
        // A check exits 1 when it finds something, as it does among these files.
        const int exitCode = run(arguments).exitCode;
        EXPECT_TRUE(exitCode == 0 || (arguments.constFirst() == "--check-folder" && exitCode == 1))
            << example.toStdString();
    }
    EXPECT_TRUE(QFile::exists(path("Downloads/C001MA_new.cmx")));
    EXPECT_TRUE(QFile::exists(path("Downloads/family/B904FAFit_tie.cmx")));
}

TEST_F(AttachCommand, BatchNeverReplacesItsOwnInputs)
{
    ASSERT_TRUE(testsupport::writeFile(path("C001MA_new.cmx"), testsupport::characterFile({})));
    const QByteArray input = testsupport::readFile(path("C001MA_new.cmx"));
    const Outcome r = run({"C001MA_hat.cmx", "C001MA_new.cmx", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("C001MA_hat.cmx: skipped; its new file")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("C001MA_new.cmx: skipped; its new file would replace it"));
    EXPECT_EQ(testsupport::readFile(path("C001MA_new.cmx")), input);

    // Two spellings of one folder write one file once.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("sub"));
    const Outcome twice =
        run({"--out", "sub/..", "B001FAFit_01.cmx", "sub/../B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_TRUE(twice.err.contains("was already written for")) << twice.err.toStdString();
    EXPECT_EQ(twice.out.count('\n'), 1);
}

TEST_F(AttachCommand, InPlaceKeepsABackupAndAttachedMeshNeedsAllowDuplicate)
{
    const QByteArray original = testsupport::readFile(path("B001FAFit_01.cmx"));
    const Outcome r = run({"--in-place", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(testsupport::readFile(path("B001FAFit_01.cmx.bak")), original);

    const Outcome again = run({"--in-place", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("already holds the mesh \"glasses\" on the bone \"HEAD\""))
        << again.err.toStdString();
    const Outcome allowed =
        run({"--in-place", "--no-backup", "--allow-duplicate", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(allowed.exitCode, 0) << allowed.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("B001FAFit_01.cmx.bak2")));

    // One file named twice is extended once.
    const Outcome twice = run({"--in-place", "C001MA_hat.cmx", "./C001MA_hat.cmx", "glasses.skn"});
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_TRUE(twice.err.contains("C001MA_hat.cmx: skipped; it is the same file as "
                                   "C001MA_hat.cmx, which this run has already extended."))
        << twice.err.toStdString();
}

TEST_F(AttachCommand, ListAndSuffix)
{
    const Outcome list = run({"--list", "B001FAFit_01.cmx", "broken.cmx", "C001MA_hat.cmx"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.out, "==> B001FAFit_01.cmx <==\nPELVIS\tb\n\n==> C001MA_hat.cmx <==\n");
    EXPECT_EQ(run({"--list", "B001FAFit_01.cmx"}).out, "PELVIS\tb\n");
    EXPECT_EQ(run({"--list", "--no-backup", "B001FAFit_01.cmx"}).exitCode, 2);

    const Outcome suffix = run({"--suffix", "hat", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(suffix.exitCode, 0) << suffix.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("B001FAFit_hat.cmx")));
}

#ifdef Q_OS_UNIX
// Bytes that are not UTF-8 reach the program as replacement characters.
TEST_F(AttachCommand, OutputFolderWithBytesThatAreNoTextIsNamedAsSuch)
{
    ASSERT_EQ(::mkdir((QFile::encodeName(m_dir.path()) + "/out\xff").constData(), 0755), 0);
    const Outcome r =
        run({"--out", QString::fromLocal8Bit("out\xff"), "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("out\uFFFD: the output folder's path holds bytes that are not "
                               "text in the system's encoding"))
        << r.err.toStdString();
}

TEST_F(AttachCommand, WindowsOutputFolderIsTheWinePrefixFolder)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("prefix/drive_c/Games/Sims"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("prefix/dosdevices"));
    ASSERT_TRUE(QFile::link("../drive_c", m_dir.filePath("prefix/dosdevices/c:")));
    const QByteArray previous = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", m_dir.filePath("prefix").toLocal8Bit());
    const Outcome r = run({"--out", "C:/games\\SIMS\\", "B001FAFit_01.cmx", "glasses.skn"});
    const Outcome unmapped = run({"--out", "d:\\x", "B001FAFit_01.cmx", "glasses.skn"});
    qputenv("WINEPREFIX", previous);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(m_dir.filePath("prefix/drive_c/Games/Sims/B001FAFit_new.cmx")));
    EXPECT_EQ(unmapped.exitCode, 1);
    EXPECT_TRUE(unmapped.err.contains("has no drive D:")) << unmapped.err.toStdString();
}

TEST_F(AttachCommand, FindGamePrintsEachGameFolderOnceAndSucceedsWithoutOne)
{
    QDir dir(m_dir.path());
    const QString game = "prefix/drive_c/Program Files/Maxis/The Sims";
    for (const QString &folder :
         {game + "/GameData/Skins", QStringLiteral("prefix/dosdevices"),
          QStringLiteral("home/.steam/steam/steamapps"),
          QStringLiteral("lib/steamapps/common/The Sims Legacy Collection")})
        ASSERT_TRUE(dir.mkpath(folder));
    ASSERT_TRUE(QFile::link("../drive_c", dir.filePath("prefix/dosdevices/c:")));
    // The registry names the folder again, in capitals; Steam a library without the skins.
    ASSERT_TRUE(
        testsupport::writeFile(dir.filePath("prefix/system.reg"),
                               "[Software\\\\Maxis\\\\The Sims] 1\n\"InstallPath\"=\"C:\\\\PROGRAM "
                               "FILES\\\\MAXIS\\\\THE SIMS\"\n"));
    ASSERT_TRUE(testsupport::writeFile(
        dir.filePath("home/.steam/steam/steamapps/libraryfolders.vdf"),
        "\"libraryfolders\" { \"0\" { \"path\" \"" + dir.filePath("lib").toUtf8() + "\" } }"));
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(dir.filePath("home")));
    qputenv("WINEPREFIX", QFile::encodeName(dir.filePath("prefix")));
    const Outcome found = run({"--find-game"});
    qputenv("WINEPREFIX", QFile::encodeName(dir.filePath("nowhere")));
    const Outcome none = run({"--find-game"});
    qputenv("HOME", home);
    qunsetenv("WINEPREFIX");

    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.out, QFileInfo(dir.filePath(game)).canonicalFilePath().toUtf8() + "\n");
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains("no folder of The Sims found")) << none.err.toStdString();
}
#endif

#ifdef Q_OS_WIN
// The file replaced keeps its long name, inside it and in its backup's name.
TEST_F(AttachCommand, InPlaceByAShortNameWritesTheLongOne)
{
    ASSERT_TRUE(
        testsupport::writeFile(path("C026Alien_Long_Name.cmx"), testsupport::characterFile({})));
    wchar_t shortPath[MAX_PATH];
    const std::wstring longPath = path("C026Alien_Long_Name.cmx").toStdWString();
    const DWORD length = GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH);
    ASSERT_GT(length, 0u);
    const QString shortName = QFileInfo(QString::fromWCharArray(shortPath, int(length))).fileName();
    ASSERT_NE(shortName, "C026Alien_Long_Name.cmx") << "no short names here";
    const Outcome r = run({"--in-place", shortName, "glasses.skn"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(splitLines(testsupport::readFile(path("C026Alien_Long_Name.cmx")))[4],
              "C026Alien_Long_Name");
    EXPECT_TRUE(QFile::exists(path("C026Alien_Long_Name.cmx.bak")));
}

// cmd.exe hands "*" and "?" over as typed; option values are never patterns.
TEST_F(AttachCommand, FilePatternsAreExpandedAsWindowsListsFiles)
{
    const Outcome listed = run({"--list", "*.CMX"});
    EXPECT_EQ(listed.exitCode, 1) << "broken.cmx is listed too";
    EXPECT_EQ(listed.out, "==> B001FAFit_01.cmx <==\nPELVIS\tb\n\n==> C001MA_hat.cmx <==\n");
    EXPECT_TRUE(listed.err.contains("broken.cmx: line 7")) << listed.err.toStdString();

    const Outcome none = run({"b00?.cmx", "glasses.skn"});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.startsWith("kelvane-attach: b00?.cmx: no file matches this pattern."))
        << none.err.toStdString();
    const Outcome value = run({"--suffix", "x*", "b001*", "glasses.skn"});
    EXPECT_EQ(value.exitCode, 1);
    EXPECT_TRUE(value.err.contains("holds \"*\"")) << value.err.toStdString();
    EXPECT_EQ(cmxFiles().size(), 3);
}

// The folder written into is the one Windows opens, and it is the one printed.
TEST_F(AttachCommand, OutputFolderIsTakenAsWindowsTakesIt)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("out"));
    const QString out = path("out");
    ASSERT_TRUE(out.at(1) == u':');
    const QStringList forms = {out.mid(2), "\\\\?\\" + out, out + ". .", out.left(2) + "out"};
    for (qsizetype i = 0; i < forms.size(); ++i) {
        const QString name = QString::number(i);
        const Outcome r =
            run({"--out", forms[i], "--name", name, "B001FAFit_01.cmx", "glasses.skn"});
        EXPECT_EQ(r.exitCode, 0) << forms[i].toStdString() << r.err.toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(r.out), out + "\\" + name + ".cmx\n")
            << forms[i].toStdString();
        EXPECT_TRUE(QFile::exists(path("out/" + name + ".cmx")));
    }
    const Outcome literal =
        run({"--out", "\\\\?\\" + out + ".", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(literal.exitCode, 1);
    EXPECT_TRUE(literal.err.contains("reached only by this")) << literal.err.toStdString();
}
#endif

// A game folder whose shared archive holds a binary body, a text head and a
// binary mesh, beside the game's folder of loose skins.
class AttachFromArchive : public AttachCommand
{
protected:
    void SetUp() override
    {
        AttachCommand::SetUp();
        using namespace testsupport;
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("Game/ExpansionShared"));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("Game/GameData/Skins"));
        BinaryCharacter body;
        body.type = 3;
        body.skins = {{"PELVIS", "xskin-b001fafit_01-PELVIS-BODY", 1, 2}};
        ASSERT_TRUE(writeFile(
            path(m_archive), farArchive({{"Skins\\B001FAFit_01.cmx.bcf", binaryCharacterFile(body)},
                                         {"C001MA_hat.cmx", characterFile({})},
                                         {"Meshes\\glasses.bmf",
                                          binaryMeshFile("glasses", "glasses-tex", {"HEAD"})}})));
    }

    const QString m_archive = QStringLiteral("Game/ExpansionShared/ExpansionShared.far");
};

TEST_F(AttachFromArchive, EntriesComposeIntoTheGamesSkinsFolderInTheirOwnFormat)
{
    const QString archive = path(m_archive);
    const Outcome r =
        run({archive + "/skins/b001fafit_01.CMX.BCF", archive + "/Meshes/glasses.bmf"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString written = path("Game/GameData/Skins/B001FAFit_new.cmx.bcf");
    EXPECT_EQ(QString::fromLocal8Bit(r.out.trimmed()), written);
    testsupport::BinaryCharacter expected;
    expected.name = "B001FAFit_new";
    expected.type = 3;
    expected.skins = {{"PELVIS", "xskin-b001fafit_01-PELVIS-BODY", 1, 2}, {"HEAD", "glasses"}};
    EXPECT_EQ(testsupport::readFile(written), testsupport::binaryCharacterFile(expected));

    const Outcome listed = run({"--list", archive});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, "==> " + path(m_archive + "/Skins/B001FAFit_01.cmx.bcf").toLocal8Bit() +
                              " <==\nPELVIS\txskin-b001fafit_01-PELVIS-BODY\n\n==> " +
                              path(m_archive + "/C001MA_hat.cmx").toLocal8Bit() + " <==\n");
}

TEST_F(AttachFromArchive, ListPassesOverSkeletonsAndAnimations)
{
    using namespace testsupport;
    BinaryCharacter skeleton, skill;
    skeleton.skeletons = 1;
    skill.suits = 0;
    skill.skills = 3;
    ASSERT_TRUE(
        writeFile(path("game.far"),
                  farArchive({{"Skins\\adult-skeleton.cmx.bcf", binaryCharacterFile(skeleton)},
                              {"a2o-skill.cmx.bcf", binaryCharacterFile(skill)},
                              {"B001FAFit_01.cmx.bcf", binaryCharacterFile({})}})));
    const Outcome listed = run({"--list", "game.far"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.err, "");
    EXPECT_EQ(listed.out, "==> " + QDir::toNativeSeparators("game.far/").toLocal8Bit() +
                              "B001FAFit_01.cmx.bcf <==\n");
    // Named on its own, a skeleton is still refused as no character file.
    EXPECT_EQ(run({"--list", "game.far/Skins/adult-skeleton.cmx.bcf"}).exitCode, 1);
}

TEST_F(AttachCommand, ListOfCaseTwinsInAnArchiveShowsEachOnesOwnSkins)
{
    using namespace testsupport;
    ASSERT_TRUE(
        writeFile(path("twins.far"), farArchive({{"A.cmx", characterFile({{"HEAD", "upper"}})},
                                                 {"a.cmx", characterFile({{"HEAD", "lower"}})}})));
    const Outcome listed = run({"--list", "twins.far"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QByteArray inArchive = QDir::toNativeSeparators("twins.far/").toLocal8Bit();
    EXPECT_EQ(listed.out, "==> " + inArchive + "A.cmx <==\nHEAD\tupper\n\n==> " + inArchive +
                              "a.cmx <==\nHEAD\tlower\n");
}

TEST_F(AttachFromArchive, NothingIsWrittenIntoAnArchive)
{
    const QString archive = path(m_archive);
    const QByteArray before = testsupport::readFile(archive);
    const Outcome inPlace = run({"--in-place", archive + "/C001MA_hat.cmx", "glasses.skn"});
    EXPECT_EQ(inPlace.exitCode, 1);
    EXPECT_TRUE(inPlace.err.contains("cannot replace an entry of an archive"))
        << inPlace.err.toStdString();
    const Outcome into = run({"--out", archive + "/Skins", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(into.exitCode, 1);
    EXPECT_TRUE(into.err.contains("inside the archive")) << into.err.toStdString();
    EXPECT_EQ(testsupport::readFile(archive), before);
}

TEST_F(AttachCommand, InPlaceReplacesABinaryCharacterFileUnderItsOwnName)
{
    testsupport::BinaryCharacter body;
    body.skins = {{"PELVIS", "body", 7, 9}};
    ASSERT_TRUE(
        testsupport::writeFile(path("B002MA.cmx.bcf"), testsupport::binaryCharacterFile(body)));
    const Outcome r = run({"--in-place", "B002MA.cmx.bcf", "glasses.skn"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    body.name = "B002MA";
    body.skins.append(testsupport::BinarySkin{"HEAD", "glasses"});
    EXPECT_EQ(testsupport::readFile(path("B002MA.cmx.bcf")),
              testsupport::binaryCharacterFile(body));
    EXPECT_TRUE(QFile::exists(path("B002MA.cmx.bcf.bak")));
}

TEST_F(AttachCommand, WhatTheGameLacksIsWarnedRefusedWithStrictOrCopied)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("dl"));
    ASSERT_TRUE(testsupport::writeFile(path("dl/specs.skn"), testsupport::meshFile("hat", "HEAD")));
    QByteArray bmp = "BM" + QByteArray(52, '\0');
    bmp[18] = bmp[22] = 64;
    bmp[28] = 8;
    ASSERT_TRUE(testsupport::writeFile(path("dl/hat-tex.bmp"), bmp));

    const Outcome strict = run({"--strict", "B001FAFit_01.cmx", "dl/specs.skn"});
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_TRUE(strict.err.contains("not written (--strict)")) << strict.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("B001FAFit_new.cmx")));

    const Outcome warned = run({"--name", "warned", "B001FAFit_01.cmx", "dl/specs.skn"});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_EQ(warned.err.count("kelvane-attach: warning: "), 3) << warned.err.toStdString();
    for (const char *named : {"specs.skn", "hat.skn", "hat-tex.bmp"})
        EXPECT_TRUE(warned.err.contains(named)) << named;
    // A copy mends each, and each says which option makes it.
    EXPECT_EQ(warned.err.count(", give --copy-mesh.\n"), 3) << warned.err.toStdString();

    ASSERT_TRUE(testsupport::writeFile(path("hat-tex.bmp"), "other"));
    const Outcome copied = run({"--copy-mesh", "--strict", "B001FAFit_01.cmx", "dl/specs.skn"});
    EXPECT_EQ(copied.exitCode, 1) << "the texture in place is no 256-colour BMP";
    EXPECT_FALSE(copied.err.contains("--copy-mesh.")) << "no copy mends what is left";
    ASSERT_TRUE(QFile::remove(path("hat-tex.bmp")));
    const Outcome done = run({"--copy-mesh", "--strict", "B001FAFit_01.cmx", "dl/specs.skn"});
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    const QString sep = QDir::separator();
    EXPECT_EQ(QString::fromLocal8Bit(done.out),
              "." + sep + "B001FAFit_new.cmx\n." + sep + "hat.skn\n." + sep + "hat-tex.bmp\n");
    EXPECT_EQ(testsupport::readFile(path("hat-tex.bmp")), bmp);
}

// The game sees names without regard to case, and the name inside a file is
// the name of the file actually replaced.
TEST_F(AttachCommand, NamesAreTheGamesWithoutRegardToCase)
{
    // Made under this name, as a case-only rename may not take on every file system.
    ASSERT_TRUE(QFile::remove(path("B001FAFit_01.cmx")));
    ASSERT_TRUE(testsupport::writeFile(path("B001FAFit_01.CMX"),
                                       testsupport::characterFile({{"PELVIS", "b"}})));
    const Outcome inPlace = run({"--in-place", "B001FAFit_01.CMX", "glasses.skn"});
    EXPECT_EQ(inPlace.exitCode, 0) << inPlace.err.toStdString();
    EXPECT_EQ(cmxFiles(), (QStringList{"B001FAFit_01.CMX", "broken.cmx", "C001MA_hat.cmx"}))
        << "no twin beside the file";
    EXPECT_TRUE(QFile::exists(path("B001FAFit_01.CMX.bak")));
    EXPECT_EQ(splitLines(testsupport::readFile(path("B001FAFit_01.CMX")))[4], "B001FAFit_01");

    ASSERT_TRUE(testsupport::writeFile(path("b001fafit_02.cmx"), testsupport::characterFile({})));
    const Outcome batch =
        run({"--allow-duplicate", "B001FAFit_01.CMX", "b001fafit_02.cmx", "glasses.skn"});
    EXPECT_EQ(batch.exitCode, 1) << batch.err.toStdString();
    EXPECT_TRUE(batch.err.contains("was already written for")) << batch.err.toStdString();
    EXPECT_EQ(splitLines(testsupport::readFile(path("B001FAFit_new.cmx")))[4], "B001FAFit_new");

#ifdef Q_OS_UNIX
    ASSERT_TRUE(QFile::link("C001MA_hat.cmx", path("link.cmx")));
    const Outcome linked = run({"--in-place", "link.cmx", "glasses.skn"});
    EXPECT_EQ(linked.exitCode, 0) << linked.err.toStdString();
    EXPECT_EQ(splitLines(testsupport::readFile(path("C001MA_hat.cmx")))[4], "C001MA_hat");
    EXPECT_TRUE(QFileInfo(path("link.cmx")).isSymLink());
#endif
}

TEST_F(AttachCommand, RestorePutsBackTheNewestBackupOrTheOneNamed)
{
    const QByteArray original = testsupport::readFile(path("B001FAFit_01.cmx"));
    ASSERT_EQ(run({"--in-place", "B001FAFit_01.cmx", "glasses.skn"}).exitCode, 0);
    const QByteArray extended = testsupport::readFile(path("B001FAFit_01.cmx"));

    const Outcome undone = run({"--restore", "B001FAFit_01.cmx"});
    EXPECT_EQ(undone.exitCode, 0) << undone.err.toStdString();
    const QString file = QFileInfo(path("B001FAFit_01.cmx")).canonicalFilePath();
    EXPECT_EQ(QString::fromLocal8Bit(undone.out), QDir::toNativeSeparators(file) + "\n");
    EXPECT_EQ(undone.err, "kelvane-attach: note: B001FAFit_01.cmx: restored from "
                          "B001FAFit_01.cmx.bak; its previous content is kept as "
                          "B001FAFit_01.cmx.bak2.\n");
    EXPECT_EQ(testsupport::readFile(file), original);

    const Outcome redone = run({"--restore", "B001FAFit_01.cmx.bak2", "./B001FAFit_01.cmx"});
    EXPECT_EQ(redone.exitCode, 1) << "the second would undo the first";
    EXPECT_TRUE(redone.err.contains("./B001FAFit_01.cmx: skipped")) << redone.err.toStdString();
    EXPECT_EQ(testsupport::readFile(file), extended);

    const Outcome none = run({"--restore", "C001MA_hat.cmx"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains("C001MA_hat.cmx: it has no backup to restore"))
        << none.err.toStdString();
    for (const QStringList &misuse :
         {QStringList{"--restore"}, QStringList{"--restore", "--no-backup", "B001FAFit_01.cmx"}})
        EXPECT_EQ(run(misuse).exitCode, 2) << misuse.join(' ').toStdString();
    const Outcome help = run({"--help"});
    EXPECT_TRUE(help.out.contains("kelvane-attach --restore CHARACTER.cmx...")) << help.out.data();
}

// Names inside a mesh file are names the game looks up, never paths.
TEST_F(AttachCommand, NamesInsideAMeshLeadNowhereOutsideTheirFolders)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("a/b/out"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("dl"));
    ASSERT_TRUE(testsupport::writeFile(
        path("dl/climb.skn"),
        testsupport::meshFile("../../climbmesh", "HEAD").replace("../../climbmesh-tex", "../x")));
    ASSERT_TRUE(testsupport::writeFile(path("x.bmp"), "BM"));
    const QStringList args = {"--copy-mesh", "--out", path("a/b/out"), "B001FAFit_01.cmx",
                              "dl/climb.skn"};
    const Outcome strict = run(QStringList{"--strict"} + args);
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_TRUE(strict.err.contains("not a plain file name")) << strict.err.toStdString();
    const Outcome copied = run(args);
    EXPECT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    EXPECT_EQ(copied.err.count("not a plain file name"), 2) << copied.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("a/climbmesh.skn")));
    EXPECT_EQ(QDir(path("a/b/out")).entryList(QDir::Files), QStringList{"B001FAFit_new.cmx"});
}

TEST_F(AttachCommand, OnlyACharacterFileIsReplacedThroughALinkOrNot)
{
    const QByteArray archive = testsupport::farArchive({{"Skins/a.cmx", "x"}});
    ASSERT_TRUE(testsupport::writeFile(path("game.far"), archive));
    ASSERT_TRUE(testsupport::writeFile(path("mesh.cmx"), testsupport::meshFile("m", "HEAD")));
    const Outcome mesh = run({"--name", "mesh", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(mesh.exitCode, 1);
    EXPECT_TRUE(mesh.err.contains("it is a text mesh file")) << mesh.err.toStdString();
    ASSERT_TRUE(testsupport::writeFile(path("notes.cmx"), "my notes"));
    const Outcome other = run({"--name", "notes", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.err.contains("it holds no character file")) << other.err.toStdString();
    EXPECT_EQ(testsupport::readFile(path("notes.cmx")), "my notes");
    ASSERT_TRUE(testsupport::writeFile(path("adult-skeleton.cmx"), testsupport::skeletonFile(1)));
    const Outcome skeleton = run({"--name", "adult-skeleton", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_TRUE(skeleton.err.contains("it is a text skeleton file")) << skeleton.err.toStdString();
#ifdef Q_OS_UNIX
    ASSERT_TRUE(QFile::link(path("game.far"), path("linked.cmx")));
    const Outcome linked = run({"--name", "linked", "B001FAFit_01.cmx", "glasses.skn"});
    EXPECT_EQ(linked.exitCode, 1);
    EXPECT_TRUE(linked.err.contains("it is a FAR archive")) << linked.err.toStdString();
    EXPECT_EQ(testsupport::readFile(path("game.far")), archive);
    EXPECT_FALSE(QFile::exists(path("game.far.bak")));
#endif
}

#ifdef Q_OS_UNIX
// Were a pipe opened, the run would wait on it for ever.
TEST_F(AttachCommand, PipesNamedLikeTheMeshOrTextureAreNeverOpened)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("dl"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("out"));
    ASSERT_TRUE(testsupport::writeFile(path("dl/hat.skn"), testsupport::meshFile("hat", "HEAD")));
    for (const char *pipe : {"dl/HAT-TEX.bmp", "out/Hat.skn"})
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(pipe)).constData(), 0600), 0);
    const Outcome r = run({"--copy-mesh", "--out", "out", "B001FAFit_01.cmx", "dl/hat.skn"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("is not a regular file")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(path("out/hat-tex.bmp") + " is missing")) << r.err.toStdString();
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("out/hat-tex.bmp")).constData(), 0600), 0);
    EXPECT_EQ(run({"--strict", "--copy-mesh", "--out", "out", "--name", "x", "B001FAFit_01.cmx",
                   "dl/hat.skn"})
                  .exitCode,
              1);
}
#endif

// A texture of other than 256 colours is copied converted; a different mesh
// of the wanted name is never replaced: warned with its full path, or refused.
TEST_F(AttachCommand, CopiesAreConvertedAndDifferentFilesWarned)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("dl"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("out"));
    ASSERT_TRUE(testsupport::writeFile(path("dl/hat.skn"), testsupport::meshFile("hat", "HEAD")));
    QImage picture(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 4, 128));
    ASSERT_TRUE(picture.save(path("dl/hat-tex.bmp"), "BMP"));
    const QByteArray download = testsupport::readFile(path("dl/hat-tex.bmp"));

    const Outcome copied = run({"--copy-mesh", "--out", "out", "B001FAFit_01.cmx", "dl/hat.skn"});
    EXPECT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    EXPECT_TRUE(copied.err.contains("converted to 256 colours")) << copied.err.toStdString();
    const QByteArray converted = testsupport::readFile(path("out/hat-tex.bmp"));
    ASSERT_GE(converted.size(), 30);
    EXPECT_EQ(converted[28], 8) << "bits per pixel";
    const QImage read(path("out/hat-tex.bmp"));
    EXPECT_EQ(read.size(), picture.size());
    EXPECT_GT(qRed(read.pixel(63, 32)), qRed(read.pixel(0, 32)) + 128) << "colours kept";
    EXPECT_EQ(testsupport::readFile(path("dl/hat-tex.bmp")), download);

    ASSERT_TRUE(
        testsupport::writeFile(path("out/hat.skn"), testsupport::meshFile("hat", "HEAD", 600)));
    const Outcome warned =
        run({"--copy-mesh", "--out", "out", "--name", "w", "B001FAFit_01.cmx", "dl/hat.skn"});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_TRUE(warned.err.contains("warning: ") && warned.err.contains(path("out/hat.skn")))
        << warned.err.toStdString();
    EXPECT_EQ(run({"--strict", "--copy-mesh", "--out", "out", "--name", "s", "B001FAFit_01.cmx",
                   "dl/hat.skn"})
                  .exitCode,
              1);
    EXPECT_FALSE(QFile::exists(path("out/s.cmx")));
}

// The batch checks the output folder once, and again after copying into it:
// the texture converted for the first file is the one the second needs.
TEST_F(AttachCommand, ABatchCopiesConvertedOnceWithoutWarnings)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("dl"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("out"));
    ASSERT_TRUE(testsupport::writeFile(path("dl/hat.skn"), testsupport::meshFile("hat", "HEAD")));
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(qRgb(200, 40, 40));
    ASSERT_TRUE(picture.save(path("dl/hat-tex.bmp"), "BMP"));
    const Outcome r =
        run({"--copy-mesh", "--out", "out", "B001FAFit_01.cmx", "C001MA_hat.cmx", "dl/hat.skn"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count("converted to 256 colours"), 1) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("warning")) << r.err.toStdString();
}

// A new file named as one of the game's bodies takes its place: a warning,
// refused with --strict; --restore (with no backup) or --restore-game puts
// the game's own back, moving the loose file to a backup.
TEST_F(AttachFromArchive, TheGamesOwnCharacterIsWarnedAboutAndPutBack)
{
    const QString body = path(m_archive + "/Skins/B001FAFit_01.cmx.bcf");
    const QString loose = path("Game/GameData/Skins/b001fafit_01.cmx.bcf");
    const Outcome refused = run({"--strict", "--name", "b001fafit_01", body, "glasses.skn"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("B001FAFit_01 is one of the game's own characters (in " +
                                     path(m_archive) + ")"))
        << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(loose));

    for (const QString &restoring : QStringList{"--restore", "--restore-game"}) {
        const Outcome written = run({"--name", "b001fafit_01", body, "glasses.skn"});
        EXPECT_EQ(written.exitCode, 0) << written.err.toStdString();
        EXPECT_TRUE(written.err.contains("warning: ") && written.err.contains("takes its place"))
            << written.err.toStdString();
        const QByteArray overriding = testsupport::readFile(loose);

        const Outcome putBack = run({restoring, loose});
        EXPECT_EQ(putBack.exitCode, 0) << putBack.err.toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(putBack.out), loose + "\n");
        EXPECT_FALSE(QFileInfo::exists(loose));
        const QString keptAs = restoring == "--restore" ? ".bak" : ".bak2";
        EXPECT_EQ(testsupport::readFile(loose + keptAs), overriding);
        EXPECT_TRUE(putBack.err.contains("the game's own character is back (from " +
                                         path(m_archive) + "); the file's content is kept as " +
                                         "b001fafit_01.cmx.bcf" + keptAs))
            << putBack.err.toStdString();
    }
    EXPECT_EQ(run({"--restore-game", loose}).exitCode, 1) << "nothing left to put back";
}

// An interrupted replace left the old content only under its temporary name:
// the next run of any kind names it as a backup first, so that --restore
// finds it; a backup that cannot be named is no --no-backup.
TEST_F(AttachCommand, ALoneOldContentBecomesABackupInTheNextRunOfAnyKind)
{
    const QString file = path("B001FAFit_01.cmx");
    const QByteArray before = testsupport::characterFile({{"HEAD", "before"}});
    ASSERT_EQ(run({"--in-place", "B001FAFit_01.cmx", "glasses.skn"}).exitCode, 0);
    ASSERT_TRUE(testsupport::writeFile(file + ".kelvane-old-abc", before));
    EXPECT_EQ(run({"--in-place", "B001FAFit_01.cmx", "glasses.skn"}).exitCode, 1) << "held";
    EXPECT_EQ(testsupport::readFile(file + ".bak2"), before);
    const QByteArray later = testsupport::characterFile({{"HEAD", "later"}});
    ASSERT_TRUE(testsupport::writeFile(file + ".kelvane-old-def", later));
    EXPECT_EQ(run({"--restore", "B001FAFit_01.cmx"}).exitCode, 0);
    EXPECT_EQ(testsupport::readFile(file), later);

    setReplaceStepHook([](ReplaceStep step) {
        return step == ReplaceStep::NameBackup ? StepOutcome::Fail : StepOutcome::Go;
    });
    const Outcome unnamed = run({"--in-place", "C001MA_hat.cmx", "glasses.skn"});
    setReplaceStepHook({});
    EXPECT_TRUE(unnamed.exitCode == 0 && unnamed.err.contains("for now") &&
                !unnamed.err.contains("--no-backup"))
        << unnamed.err.toStdString();
}
