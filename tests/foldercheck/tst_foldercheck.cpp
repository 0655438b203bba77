#include "foldercheck/foldercheck.h"
#include "foldercheck/foldermends.h"
#include "foldercheck/innername.h"
#include "foldercheck/renumber.h"
#include "game/texturerule.h"
#include "platform/virtualstore.h"
#include "tests/foldercheck/seededfolder.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace kelvane;
using namespace testsupport;

namespace {

using Found = std::set<std::pair<QString, FindingKind>>;

Found foundIn(const FolderReport &report)
{
    Found found;
    for (const Finding &finding : report.findings)
        found.insert({QFileInfo(finding.path).fileName(), finding.kind});
    return found;
}

// Converts as the front ends do, as far as the check can tell.
Result<QByteArray> fakeConvert(const QString &)
{
    return bmpFile(8, 64, 64);
}

class FolderCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_game = writeSeededGame(m_dir.path());
        ASSERT_FALSE(m_game.skins.isEmpty());
    }

    FolderReport check(const QString &folder) const
    {
        return checkFolder({folder, {}, m_game.virtualStore, {}, {}});
    }

    QTemporaryDir m_dir;
    SeededGame m_game;
};

const Found kUnmendable{
    {QStringLiteral("B102FAFit_01.cmx"), FindingKind::MissingMesh},
    {QStringLiteral("B103FAFit_01.cmx"), FindingKind::NoOwnTexture},
    {QStringLiteral("B104FAFit_01.cmx"), FindingKind::MissingTexture},
    {QStringLiteral("B100FAFitdrk_01.bmp"), FindingKind::TextureSize},
    {QStringLiteral("B106FAFit_01.cmx"), FindingKind::SharedPrefix},
    {QStringLiteral("B106FAFit_02.cmx"), FindingKind::SharedPrefix},
    {QStringLiteral("dup.skn"), FindingKind::CaseClash},
    {QStringLiteral("DUP.skn"), FindingKind::CaseClash},
    {QStringLiteral("broken.cmx"), FindingKind::Unreadable},
};

// What has no mend, less the case twins a folder that tells no case apart cannot hold.
Found unmendableIn(const SeededGame &game)
{
    Found found = kUnmendable;
    if (!game.caseTwins) {
        found.erase({QStringLiteral("dup.skn"), FindingKind::CaseClash});
        found.erase({QStringLiteral("DUP.skn"), FindingKind::CaseClash});
    }
    return found;
}

TEST_F(FolderCheck, ReportsEveryFindingByFile)
{
    const FolderReport report = check(m_game.skins);
    Found expected = unmendableIn(m_game);
    expected.insert({
        {QStringLiteral("B101FAFit_01.cmx"), FindingKind::InnerName},
        {QStringLiteral("B100FAFitmed_01.bmp"), FindingKind::TextureColours},
        {QStringLiteral("wrongname.skn"), FindingKind::MeshName},
        {QStringLiteral("B105FAFit_01.cmx"), FindingKind::InSubfolder},
        {QStringLiteral("B105FAFitlgt_01.bmp"), FindingKind::InSubfolder},
        {QStringLiteral("extra.skn"), FindingKind::VirtualStore},
    });
    EXPECT_EQ(foundIn(report), expected);
    EXPECT_EQ(report.mendableByDefault(), 6);
    EXPECT_EQ(report.tones.value(QDir(m_game.skins).filePath(QStringLiteral("B100FAFit_01.cmx"))),
              QStringList({QStringLiteral("lgt"), QStringLiteral("med"), QStringLiteral("drk")}));
    // Grouped by file.
    QStringList order;
    for (const Finding &finding : report.findings) {
        if (order.isEmpty() || order.constLast() != finding.path)
            order.append(finding.path);
    }
    EXPECT_EQ(order.size(), QSet<QString>(order.cbegin(), order.cend()).size());

    const FolderReport buy = check(m_game.skinsBuy);
    ASSERT_EQ(buy.findings.size(), 2); // the mesh not beside it; the VirtualStore's file
    EXPECT_EQ(buy.findings.first().kind, FindingKind::BuyableMesh);
    EXPECT_EQ(buy.findings.first().mend.kind, MendKind::CopyBeside);
}

TEST_F(FolderCheck, MendsLeaveOnlyWhatHasNoMendAndLoseNoByte)
{
    const QHash<QString, QByteArray> before = filesUnder(m_dir.path());
    for (const QString &folder : {m_game.skins, m_game.skinsBuy}) {
        FolderReport report = check(folder);
        QList<Finding> mends;
        for (const Finding &finding : std::as_const(report.findings)) {
            if (finding.mendedByDefault())
                mends.append(finding);
        }
        for (const MendOutcome &outcome : applyMends(mends, report, fakeConvert))
            EXPECT_TRUE(outcome.done) << qPrintable(outcome.lines.join(u'\n'));
    }
    EXPECT_EQ(foundIn(check(m_game.skins)), unmendableIn(m_game));
    EXPECT_TRUE(check(m_game.skinsBuy).findings.isEmpty());

    const QHash<QString, QByteArray> after = filesUnder(m_dir.path());
    const QList<QByteArray> kept = after.values();
    for (auto file = before.cbegin(); file != before.cend(); ++file)
        EXPECT_TRUE(kept.contains(file.value())) << qPrintable(file.key());
    const QDir skins(m_game.skins);
    EXPECT_EQ(readFile(skins.filePath(QStringLiteral("B101FAFit_01.cmx.bak"))),
              before.value(skins.filePath(QStringLiteral("B101FAFit_01.cmx"))));
    EXPECT_TRUE(skins.exists(QStringLiteral("rightname.skn")));
    EXPECT_TRUE(skins.exists(QStringLiteral("extra.skn")));
    EXPECT_TRUE(skins.exists(QStringLiteral("B105FAFit_01.cmx")));
}

TEST_F(FolderCheck, ARefusedMendLeavesTheOthersDone)
{
    FolderReport report = check(m_game.skins);
    // Taken after the check: the rename must not replace it.
    const QString taken = QDir(m_game.skins).filePath(QStringLiteral("RIGHTNAME.skn"));
    ASSERT_TRUE(writeFile(taken, "mine"));
    QList<Finding> mends;
    for (const Finding &finding : std::as_const(report.findings)) {
        if (finding.mendedByDefault())
            mends.append(finding);
    }
    qsizetype refused = 0;
    for (const MendOutcome &outcome : applyMends(mends, report, {})) {
        if (!outcome.done) {
            ++refused;
            EXPECT_TRUE(outcome.lines.join(u' ').startsWith(u"not mended: "));
        }
    }
    // The rename, and the conversion with no converter.
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(readFile(taken), "mine");
    EXPECT_TRUE(QFileInfo::exists(QDir(m_game.skins).filePath(QStringLiteral("wrongname.skn"))));
    EXPECT_TRUE(QFileInfo::exists(QDir(m_game.skins).filePath(QStringLiteral("B105FAFit_01.cmx"))));
}

TEST_F(FolderCheck, RenumberingTakesAnIdUsedNowhere)
{
    FolderReport report = check(m_game.skins);
    const QDir skins(m_game.skins);
    const QByteArray old = readFile(skins.filePath(QStringLiteral("B106FAFit_02.cmx")));
    // 001 is taken by a texture of the game's archive.
    report.usedIds.insert(QStringLiteral("002"));
    const Finding renumber{FindingKind::SharedPrefix,
                           skins.filePath(QStringLiteral("B106FAFit_02.cmx")),
                           {},
                           {MendKind::Renumber, {}, {}, {}}};
    const MendOutcome outcome = applyMend(renumber, report, {});
    ASSERT_TRUE(outcome.done) << qPrintable(outcome.lines.join(u'\n'));
    EXPECT_FALSE(skins.exists(QStringLiteral("B106FAFit_02.cmx")));
    EXPECT_EQ(readFile(skins.filePath(QStringLiteral("B003FAFit_02.cmx"))),
              namedCharacterFile("B003FAFit_02", {"hat100"}));
    EXPECT_EQ(readFile(skins.filePath(QStringLiteral("B003FAFit_02.cmx.bak"))), old);
    EXPECT_TRUE(skins.exists(QStringLiteral("B003FAFitlgt_02.bmp")));
    EXPECT_TRUE(skins.exists(QStringLiteral("B106FAFitlgt_01.bmp")));
    EXPECT_TRUE(report.usedIds.contains(QStringLiteral("003")));
    for (const Finding &finding : check(m_game.skins).findings)
        EXPECT_NE(finding.kind, FindingKind::SharedPrefix);
}

TEST_F(FolderCheck, CancelledStopsEarly)
{
    int asked = 0;
    const FolderReport report =
        checkFolder({m_game.skins, {}, QString(), {}, [&asked] { return ++asked > 3; }});
    EXPECT_TRUE(report.cancelled);
    EXPECT_LT(report.filesChecked, 5);
}

TEST(TextureRule, CharacterWearsItsPrefixInAnyToneCaseAndLabel)
{
    const QStringList available{
        QStringLiteral("C001FAlgt_hair.bmp"), QStringLiteral("c001fadrk_BALD.BMP"),
        QStringLiteral("C001FApnk_hair.bmp"), QStringLiteral("C001FAlgt_hair.tga"),
        QStringLiteral("C002FAlgt_hair.bmp"), QStringLiteral("C003FClgt_a.bmp"),
        QStringLiteral("C003MCmed_b.bmp"),    QStringLiteral("C003UClgt_c.bmp")};
    const auto names = [&](const QString &character) {
        QStringList found;
        for (const CharacterTexture &texture : characterTexturesAmong(character, available))
            found.append(texture.tone + u':' + texture.label);
        return found;
    };
    EXPECT_EQ(names(QStringLiteral("C001FA_hair.cmx")),
              QStringList({QStringLiteral("drk:BALD"), QStringLiteral("lgt:hair")}));
    EXPECT_EQ(
        names(QStringLiteral("C003UC_kid.cmx.bcf")),
        QStringList({QStringLiteral("lgt:a"), QStringLiteral("med:b"), QStringLiteral("lgt:c")}));
    EXPECT_EQ(texturePrefixOf(QStringLiteral("B001FAFit_01.cmx.bcf")), QStringLiteral("B001FAFit"));
}

TEST(InnerName, OnlyTheNameChangesInEitherFormat)
{
    const QByteArray text = characterFile({{"PELVIS", "body"}}, "\n");
    const Result<QByteArray> renamed = withInnerName(text, "B009MAFit_01");
    ASSERT_TRUE(renamed.ok());
    EXPECT_EQ(renamed.value(), QByteArray(text).replace("B001FAFit_01", "B009MAFit_01"));

    BinaryCharacter binary;
    binary.skins = {{"PELVIS", "body", 1, 2}};
    const QByteArray bytes = binaryCharacterFile(binary);
    binary.name = "Longer_name_here";
    const Result<QByteArray> longer = withInnerName(bytes, binary.name);
    ASSERT_TRUE(longer.ok());
    EXPECT_EQ(longer.value(), binaryCharacterFile(binary));
    EXPECT_FALSE(withInnerName("hello", "x").ok());
}

TEST(VirtualStore, FoundUnderAUserOfTheWinePrefix)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows names its own VirtualStore in LOCALAPPDATA, not a prefix's.";
#endif
    QTemporaryDir dir;
    const QString skins =
        dir.filePath(QStringLiteral("drive_c/Program Files/Maxis/The Sims/GameData/Skins"));
    const QString store = dir.filePath(
        QStringLiteral("drive_c/users/me/AppData/Local/VirtualStore/program files/Maxis/The Sims/"
                       "GameData/Skins"));
    ASSERT_TRUE(QDir().mkpath(skins) && QDir().mkpath(store));
    EXPECT_EQ(QFileInfo(virtualStoreFolderFor(skins)).canonicalFilePath(),
              QFileInfo(store).canonicalFilePath());
    const QString elsewhere = dir.filePath(QStringLiteral("drive_c/Games/Skins"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    EXPECT_TRUE(virtualStoreFolderFor(elsewhere).isEmpty());
}

} // namespace
