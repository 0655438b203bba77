#include "base/linelist.h"
#include "replace/backup.h"
#include "tests/support/attachedcmxfile.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

using namespace kelvane;
using testsupport::bmpHeader;

namespace {

const QString kSep = QDir::separator();

// A skins folder holding a character file and a mesh file, and an output folder.
class CreateFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkpath("skins"));
        ASSERT_TRUE(QDir(m_root.path()).mkpath("out"));
        m_skins = QDir::toNativeSeparators(m_root.filePath("skins"));
        m_out = QDir::toNativeSeparators(m_root.filePath("out"));
        ASSERT_TRUE(testsupport::writeFile(
            m_root.filePath("skins/B001FAFit_01.cmx"),
            testsupport::characterFile({{"PELVIS", "body"}, {"SPINE", "back"}})));
        ASSERT_TRUE(testsupport::writeFile(m_root.filePath("skins/hat.skn"),
                                           testsupport::meshFile("hat", "HEAD")));
    }

    Result<QString> create(const QString &name, const QString &folder,
                           const QString &character = "B001FAFit_01.cmx",
                           const QString &mesh = "hat.skn")
    {
        const Result<CreatedFile> created =
            CreateAttachedCmxFile(m_skins, character, m_skins, mesh, name, folder);
        if (!created.ok())
            return Failure{created.error()};
        return created.value().path;
    }

    QStringList outputFolderEntries() const
    {
        return QDir(m_out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_root;
    QString m_skins;
    QString m_out;
};

} // namespace

TEST(OutputPaths, SeparatorIsAddedOnlyWhenMissing)
{
    EXPECT_EQ(outputFilePath("games", "head_new"), "games" + kSep + "head_new.cmx");
    EXPECT_EQ(outputFilePath("games" + kSep, "head_new"), "games" + kSep + "head_new.cmx");
    EXPECT_EQ(outputFilePath("", "n"), kSep + "n.cmx");
    EXPECT_EQ(outputFilePath("g", "head.cmx"), "g" + kSep + "head.cmx.cmx");
}

TEST_F(CreateFile, WritesTheComposedTextWithAClosingCrLf)
{
    const Result<QString> result = create("B001FAFit_new", m_out);
    ASSERT_TRUE(result.ok()) << result.error().toStdString();
    EXPECT_EQ(result.value(), m_out + kSep + "B001FAFit_new.cmx");
    const QByteArray written = testsupport::readFile(result.value());
    EXPECT_TRUE(written.startsWith("// Character File. Copyright 1997, Maxis Inc.\r\nVersion 300"));
    EXPECT_TRUE(written.endsWith("\r\nHEAD\r\nhat\r\n0\r\n0\r\n0\r\n"));
    EXPECT_EQ(splitLines(written).size(), 13 + 4 * 2 + 1);
    EXPECT_EQ(outputFolderEntries(), QStringList{"B001FAFit_new.cmx"});
}

TEST_F(CreateFile, MeshIsNeverReadPastItsFirst400Bytes)
{
    QByteArray mesh = testsupport::meshFile("hat", "HEAD", 0);
    mesh += QByteArray(400 - mesh.size(), 'x') + "\r\nBEYOND\r\n";
    ASSERT_TRUE(testsupport::writeFile(QDir(m_skins).filePath("long.skn"), mesh));
    const Result<QString> result = create("n", m_out, "B001FAFit_01.cmx", "long.skn");
    ASSERT_TRUE(result.ok()) << result.error().toStdString();
    EXPECT_FALSE(testsupport::readFile(result.value()).contains("BEYOND"));
}

TEST_F(CreateFile, ReplacingTheCharacterFileExtendsItAndKeepsEachOldVersion)
{
    const QString characterPath = QDir(m_skins).filePath("B001FAFit_01.cmx");
    const QByteArray original = testsupport::readFile(characterPath);
    for (int run = 1; run <= 2; ++run) {
        const Result<QString> result = create("B001FAFit_01", m_skins);
        ASSERT_TRUE(result.ok()) << result.error().toStdString();
        const LineList lines = splitLines(testsupport::readFile(characterPath));
        EXPECT_EQ(lines[7], QByteArray::number(2 + run));
        EXPECT_EQ(lines[8], "PELVIS");
        EXPECT_EQ(lines[12], "SPINE");
    }
    EXPECT_EQ(QDir(m_skins).entryList(QDir::Files).size(), 4);
    EXPECT_EQ(testsupport::readFile(characterPath + ".bak"), original);
    EXPECT_EQ(splitLines(testsupport::readFile(characterPath + ".bak2"))[7], "3");
}

TEST_F(CreateFile, SecondRunReplacesTheFirstKeepingItAsBackup)
{
    ASSERT_TRUE(create("n", m_out).ok());
    const QByteArray first = testsupport::readFile(m_out + kSep + "n.cmx");
    ASSERT_TRUE(create("n", m_out).ok());
    EXPECT_EQ(testsupport::readFile(m_out + kSep + "n.cmx"), first);
    EXPECT_EQ(outputFolderEntries(), (QStringList{"n.cmx", "n.cmx.bak"}));
}

TEST_F(CreateFile, EveryFailureNamesTheCulpritAndWritesNothing)
{
    ASSERT_TRUE(testsupport::writeFile(QDir(m_skins).filePath("bad.cmx"),
                                       testsupport::characterFileWithCount("abc", {})));
    ASSERT_TRUE(testsupport::writeFile(QDir(m_skins).filePath("short.skn"), "hat\r\ntex\r\n1"));
    ASSERT_TRUE(testsupport::writeFile(QDir(m_out).filePath("existing.cmx"), "keep me"));
    ASSERT_TRUE(testsupport::writeFile(m_root.filePath("plainfile"), "x"));

    struct Case {
        QString name, folder, character, mesh, expected;
    };
    const QList<Case> cases = {
        {"n", m_out, "missing.cmx", "hat.skn", "missing.cmx: the file does not exist."},
        {"n", m_out, "B001FAFit_01.cmx", "missing.skn", "missing.skn: the file does not exist."},
        {"n", m_out, "bad.cmx", "hat.skn",
         "bad.cmx: line 7 should be the number of skins, but it is \"abc\"."},
        {"n", m_out, "B001FAFit_01.cmx", "short.skn", "short.skn: line 3 (the bone"},
        {"existing", m_out, "bad.cmx", "hat.skn", "bad.cmx: line 7"},
        {"n", m_out + kSep + "nowhere", "B001FAFit_01.cmx", "hat.skn",
         "nowhere: the output folder does not exist."},
        {"n", m_root.filePath("plainfile"), "B001FAFit_01.cmx", "hat.skn",
         "plainfile: the output folder is not a folder."},
        {"a" + kSep + "b", m_out, "B001FAFit_01.cmx", "hat.skn", "The new name holds"},
        {"n", m_out, "", "hat.skn", ": this is a folder, not a file."},
        {"", m_out, "B001FAFit_01.cmx", "hat.skn", "Type a name for the new file."},
        {"n", "", "B001FAFit_01.cmx", "hat.skn", "type the full path of a folder"},
    };
    for (const Case &c : cases) {
        const Result<QString> result = create(c.name, c.folder, c.character, c.mesh);
        EXPECT_FALSE(result.ok()) << c.expected.toStdString();
        EXPECT_TRUE(result.error().contains(c.expected))
            << result.error().toStdString() << " / " << c.expected.toStdString();
        EXPECT_EQ(outputFolderEntries(), QStringList{"existing.cmx"});
    }
    EXPECT_EQ(testsupport::readFile(QDir(m_out).filePath("existing.cmx")), "keep me");
}

TEST_F(CreateFile, HugeCharacterFileIsRefusedUnread)
{
    QFile huge(QDir(m_skins).filePath("huge.cmx"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(65 * 1024 * 1024));
    huge.close();
    const Result<QString> result = create("n", m_out, "huge.cmx");
    EXPECT_TRUE(result.error().contains("huge.cmx: the file is larger than 64 MB"))
        << result.error().toStdString();
    EXPECT_TRUE(outputFolderEntries().isEmpty());
}

TEST_F(CreateFile, UnwritableTargetIsReportedAndLeavesNoTemporaryFile)
{
    ASSERT_TRUE(QDir(m_out).mkdir("taken.cmx"));
    const Result<QString> result = create("taken", m_out);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error().contains("taken.cmx: the file cannot be written"))
        << result.error().toStdString();
    EXPECT_EQ(outputFolderEntries(), QStringList{"taken.cmx"});
}

TEST_F(CreateFile, BackupNeverReplacesAnExistingOneAndCanBeSkipped)
{
    const QString output = QDir(m_out).filePath("n.cmx");
    const QByteArray old = testsupport::characterFile({{"HEAD", "old"}});
    ASSERT_TRUE(testsupport::writeFile(output, old));
    ASSERT_TRUE(testsupport::writeFile(output + ".bak", "older"));
    EXPECT_EQ(backupPathFor(output), QDir::toNativeSeparators(output + ".bak2"));
    const Result<CreatedFile> created =
        CreateAttachedCmxFile(m_skins, "B001FAFit_01.cmx", m_skins, "hat.skn", "n", m_out);
    ASSERT_TRUE(created.ok()) << created.error().toStdString();
    EXPECT_EQ(created.value().backupPath, QDir::toNativeSeparators(output + ".bak2"));
    EXPECT_EQ(testsupport::readFile(output + ".bak"), "older");
    EXPECT_EQ(testsupport::readFile(output + ".bak2"), old);

    const Result<CreatedFile> unkept = CreateAttachedCmxFile(m_skins, "B001FAFit_01.cmx", m_skins,
                                                             "hat.skn", "n", m_out, {Backup::Skip});
    ASSERT_TRUE(unkept.ok());
    EXPECT_TRUE(unkept.value().backupPath.isEmpty());
    EXPECT_EQ(outputFolderEntries().size(), 3);
}

#ifdef Q_OS_UNIX
TEST_F(CreateFile, LinkIsWrittenThroughAndDanglingLinkIsRefused)
{
    const QString target = QDir(m_out).filePath("target.cmx");
    const QByteArray old = testsupport::characterFile({{"HEAD", "old"}});
    ASSERT_TRUE(testsupport::writeFile(target, old));
    ASSERT_TRUE(QFile::link("target.cmx", QDir(m_out).filePath("link.cmx")));
    ASSERT_TRUE(create("link", m_out).ok());
    EXPECT_TRUE(QFileInfo(QDir(m_out).filePath("link.cmx")).isSymLink());
    EXPECT_TRUE(testsupport::readFile(target).endsWith("\r\nHEAD\r\nhat\r\n0\r\n0\r\n0\r\n"));
    EXPECT_EQ(testsupport::readFile(target + ".bak"), old);

    ASSERT_TRUE(QFile::link("gone.cmx", QDir(m_out).filePath("dangling.cmx")));
    const Result<QString> dangling = create("dangling", m_out);
    EXPECT_TRUE(dangling.error().contains("which does not exist"))
        << dangling.error().toStdString();
    EXPECT_FALSE(QFileInfo::exists(QDir(m_out).filePath("gone.cmx")));
}

// Refused before any opening: the test would hang on a FIFO that is opened.
TEST_F(CreateFile, SpecialFilesAreRefusedUnopened)
{
    const QByteArray fifo = QFile::encodeName(QDir(m_skins).filePath("pipe.cmx"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("pipe.cmx", QDir(m_skins).filePath("link.skn")));
    for (const auto &[character, mesh] :
         {std::pair{"pipe.cmx", "hat.skn"}, std::pair{"B001FAFit_01.cmx", "link.skn"}}) {
        const Result<QString> result = create("n", m_out, character, mesh);
        EXPECT_TRUE(result.error().contains("this is not a regular file"))
            << result.error().toStdString();
    }
    const Result<QString> asOutput = create("pipe", m_skins);
    EXPECT_TRUE(asOutput.error().contains("it is not a regular file"))
        << asOutput.error().toStdString();
    EXPECT_TRUE(outputFolderEntries().isEmpty());
}

TEST_F(CreateFile, UndecodableNameIsNamedAsSuch)
{
    const QString name = QFile::decodeName("B\xff.cmx");
    const Result<QString> result = create("n", m_out, name);
    EXPECT_TRUE(result.error().contains("not text in the system's encoding"))
        << result.error().toStdString();
}
#endif

// Names as the game reads them: whole, in the encoding it reads, with the
// extension it adds.
TEST_F(CreateFile, MeshNamesRunningPastThe400thByteAreReadWhole)
{
    // Line 3 begins 1 to 7 bytes before the 400th: "PELVIS" is cut within it or at its CR.
    for (const int before : {1, 3, 6, 7}) {
        const QByteArray mesh =
            "hat\r\n" + QByteArray(390 - before, 't') + "\r\n1\r\nPELVIS\r\nv\r\n";
        ASSERT_TRUE(testsupport::writeFile(QDir(m_skins).filePath("late.skn"), mesh));
        const Result<QString> result = create("n", m_out, "B001FAFit_01.cmx", "late.skn");
        ASSERT_TRUE(result.ok()) << result.error().toStdString();
        EXPECT_EQ(splitLines(testsupport::readFile(result.value()))[16], "PELVIS") << before;
    }
    QByteArray tooLong = "hat\r\ntex\r\n1\r\n" + QByteArray(256, 'B') + "\r\n";
    ASSERT_TRUE(testsupport::writeFile(QDir(m_skins).filePath("long.skn"), tooLong));
    const Result<QString> refused = create("n", m_out, "B001FAFit_01.cmx", "long.skn");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().toStdString(), "long.skn: line 3 (the bone the mesh attaches to) is "
                                             "longer than 255 bytes, the longest name the game's "
                                             "files can hold.");
}

TEST_F(CreateFile, UnicodeTextIsRefusedWithWhatToDo)
{
    const QByteArray text = testsupport::characterFile({{"PELVIS", "body"}});
    QByteArray utf16;
    for (const char c : text)
        utf16 += QByteArray(1, c) + '\0';
    for (const QByteArray &bytes : {utf16, "\xff\xfe" + utf16}) {
        ASSERT_TRUE(testsupport::writeFile(QDir(m_skins).filePath("wide.cmx"), bytes));
        ASSERT_TRUE(testsupport::writeFile(QDir(m_skins).filePath("wide.skn"), bytes));
        for (const auto &[character, mesh] :
             {std::pair{"wide.cmx", "hat.skn"}, std::pair{"B001FAFit_01.cmx", "wide.skn"}}) {
            const Result<QString> refused = create("n", m_out, character, mesh);
            ASSERT_FALSE(refused.ok());
            EXPECT_EQ(refused.error(),
                      QStringLiteral("%1: the file is saved as Unicode (UTF-16); "
                                     "save it as ANSI text.")
                          .arg(character == QStringLiteral("wide.cmx") ? character : mesh));
        }
    }
}

TEST_F(CreateFile, ATypedExtensionIsNotAddedTwice)
{
    for (const char *typed : {"a.cmx", "b.CMX", "c.cmx.bcf"}) {
        const Result<QString> result = create(typed, m_out);
        ASSERT_TRUE(result.ok()) << result.error().toStdString();
        EXPECT_EQ(splitLines(testsupport::readFile(result.value()))[4], QByteArray(typed, 1));
    }
    EXPECT_EQ(outputFolderEntries(), (QStringList{"a.cmx", "b.cmx", "c.cmx"}));
}

TEST_F(CreateFile, ACopyForTheGameThatFailsStopsTheWrite)
{
    const QString texture = m_root.filePath("skins/hat-tex.bmp");
    ASSERT_TRUE(testsupport::writeFile(texture, "BM"));
    const Result<AttachPlan> plan = prepareAttachment(
        {m_skins + kSep + "B001FAFit_01.cmx", m_skins + kSep + "hat.skn", "n", m_out});
    ASSERT_TRUE(plan.ok()) << plan.error().toStdString();
    ASSERT_EQ(plan.value().gameCheck.copies.size(), 2);
    ASSERT_TRUE(QFile::remove(texture));
    const Result<CreatedFile> created = carryOut(plan.value(), {Copies::Made});
    ASSERT_FALSE(created.ok());
    EXPECT_TRUE(created.error().contains("could not be copied")) << created.error().toStdString();
    EXPECT_FALSE(outputFolderEntries().contains("n.cmx"));
}

// Files of the wanted names with other content are replaced only when asked,
// each kept as a backup; a texture of other than 256 colours is copied through
// the converter, and the file copied from is left as it is.
TEST_F(CreateFile, CopiesForTheGameReplaceWithABackupAndConvert)
{
    const QByteArray oldMesh = testsupport::meshFile("hat", "HEAD", 500);
    const QByteArray oldTexture = bmpHeader(1, 64, 64);
    const QByteArray download = bmpHeader(24, 64, 64, 'x');
    ASSERT_TRUE(testsupport::writeFile(m_root.filePath("out/HAT.skn"), oldMesh));
    ASSERT_TRUE(testsupport::writeFile(m_root.filePath("out/hat-tex.bmp"), oldTexture));
    ASSERT_TRUE(testsupport::writeFile(m_root.filePath("skins/hat-tex.bmp"), download));
    const Result<AttachPlan> plan = prepareAttachment(
        {m_skins + kSep + "B001FAFit_01.cmx", m_skins + kSep + "hat.skn", "n", m_out});
    ASSERT_TRUE(plan.ok()) << plan.error().toStdString();
    const GameCheck &check = plan.value().gameCheck;
    const QStringList offered = check.findings(Copies::Offered);
    const QString text = offered.join('\n');
    for (const QString &named : {m_out + kSep + "HAT.skn", m_out + kSep + "hat-tex.bmp",
                                 m_skins + kSep + "hat-tex.bmp", QString("24 bits")})
        // Windows names the file as asked for, in the case the game asks in.
        EXPECT_TRUE(text.contains(named, Qt::CaseInsensitive)) << text.toStdString();
    EXPECT_EQ(check.findings(Copies::Made), offered) << "no copy replaces unasked";
    EXPECT_EQ(check.findings(Copies::MadeReplacing), QStringList());

    EXPECT_FALSE(carryOut(plan.value(), {Copies::MadeReplacing}).ok()) << "no converter";
    EXPECT_EQ(testsupport::readFile(m_root.filePath("out/HAT.skn")), oldMesh);
    EXPECT_FALSE(outputFolderEntries().contains("n.cmx"));

    const auto convert = [](const QString &) -> Result<QByteArray> { return bmpHeader(8, 64, 64); };
    const Result<CreatedFile> created =
        carryOut(plan.value(), {Copies::MadeReplacing, Backup::Keep, convert});
    ASSERT_TRUE(created.ok()) << created.error().toStdString();
    EXPECT_EQ(created.value().copies.replaced.size(), 2);
    EXPECT_EQ(created.value().copies.converted, QStringList{m_out + kSep + "hat-tex.bmp"});
    EXPECT_EQ(testsupport::readFile(m_root.filePath("out/HAT.skn")),
              testsupport::readFile(m_root.filePath("skins/hat.skn")));
    EXPECT_EQ(testsupport::readFile(m_root.filePath("out/HAT.skn.bak")), oldMesh);
    EXPECT_EQ(testsupport::readFile(m_root.filePath("out/hat-tex.bmp")), bmpHeader(8, 64, 64));
    EXPECT_EQ(testsupport::readFile(m_root.filePath("out/hat-tex.bmp.bak")), oldTexture);
    EXPECT_EQ(testsupport::readFile(m_root.filePath("skins/hat-tex.bmp")), download);

    // The converted copy is taken for the download's from then on; another
    // 256-colour picture of that name is not.
    const auto checkAgain = [&](const char *name) {
        const Result<AttachPlan> again = prepareAttachment({m_skins + kSep + "B001FAFit_01.cmx",
                                                            m_skins + kSep + "hat.skn",
                                                            name,
                                                            m_out,
                                                            {},
                                                            convert});
        EXPECT_TRUE(again.ok());
        return again.ok() ? again.value().gameCheck : GameCheck{};
    };
    EXPECT_EQ(checkAgain("n2").findings(Copies::Offered), QStringList());
    ASSERT_TRUE(
        testsupport::writeFile(m_root.filePath("out/hat-tex.bmp"), bmpHeader(8, 64, 64, 'y')));
    const GameCheck other = checkAgain("n3");
    EXPECT_TRUE(other.findings(Copies::Offered).join('\n').contains("holds another picture than"))
        << other.findings(Copies::Offered).join('\n').toStdString();
    EXPECT_EQ(other.findings(Copies::MadeReplacing), QStringList());
    ASSERT_EQ(other.copies.size(), 1);
    EXPECT_TRUE(other.copies.first().replaces && other.copies.first().converted);
}

// What a missing mesh means depends on what it is; sizes, bit counts and
// blanks are said plainly.
TEST_F(CreateFile, FindingsSayWhatTheMeshIsAndShowBlanks)
{
    const auto findingsFor = [this](const QByteArray &mesh, const QByteArray &texture = {}) {
        EXPECT_TRUE(testsupport::writeFile(m_root.filePath("skins/m.skn"), mesh));
        if (!texture.isEmpty()) {
            EXPECT_TRUE(testsupport::writeFile(m_root.filePath("skins/t.bmp"), texture));
        }
        const Result<AttachPlan> plan = prepareAttachment(
            {m_skins + kSep + "B001FAFit_01.cmx", m_skins + kSep + "m.skn", "n", m_out});
        EXPECT_TRUE(plan.ok()) << plan.error().toStdString();
        return plan.ok() ? plan.value().gameCheck.findings(Copies::Offered).join('\n') : QString();
    };
    EXPECT_TRUE(findingsFor("xskin-c001-HEAD-HEAD\r\nx\r\n1\r\nHEAD\r\n").contains("headless Sim"));
    EXPECT_TRUE(findingsFor("m\r\nx\r\n1\r\nPELVIS\r\n").contains("bodiless Sim"));
    EXPECT_TRUE(findingsFor("m\r\nx\r\n1\r\nHEAD\r\n").contains("nothing of the accessory"));
    // The name's last field tells the part: glasses and hats worn on the head
    // are accessories; the bone count speaks only where the name does not.
    for (const char *accessory : {"xskin-c001fa-HEAD-GPASPECS", "xskin-hat-head-HAT", "x-headband"})
        EXPECT_TRUE(findingsFor(QByteArray(accessory) + "\r\nx\r\n1\r\nHEAD\r\n")
                        .contains("nothing of the accessory"))
            << accessory;
    EXPECT_TRUE(findingsFor("xskin-b001-PELVIS-BODY\r\nx\r\n1\r\nHEAD\r\n").contains("bodiless"));
    EXPECT_TRUE(findingsFor("mesh-01\r\nx\r\n2\r\nHEAD\r\nNECK\r\n").contains("bodiless"));
    const QString texture = findingsFor("m\r\nt\r\n1\r\nHEAD  \r\n", bmpHeader(1, 64, 32));
    for (const char *said : {"has 1 bit per pixel", "64 x 32 pixels", "\"HEAD\u00b7\u00b7\""})
        EXPECT_TRUE(texture.contains(QString::fromUtf8(said))) << texture.toStdString();
}
