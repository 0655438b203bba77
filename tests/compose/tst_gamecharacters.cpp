#include "compose/attach.h"
#include "compose/gamecharacters.h"
#include "tests/support/files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;
using namespace testsupport;

namespace {

// A game whose shared archive holds one of its bodies, with its folder of
// loose skins, and a folder outside it.
class GameCharacters : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *folder : {"Game/GameData/Skins", "Game/ExpansionShared", "Elsewhere"})
            ASSERT_TRUE(QDir(m_dir.path()).mkpath(QLatin1String(folder)));
        BinaryCharacter body;
        body.name = "B912FAFit_brudeMI";
        body.skins = {{"PELVIS", "xskin-b912fafit_brudemi-PELVIS-BODY"}};
        ASSERT_TRUE(writeFile(
            path("Game/ExpansionShared/ExpansionShared.far"),
            farArchive({{"Skins\\B912FAFit_brudeMI.cmx.bcf", binaryCharacterFile(body)}})));
        ASSERT_TRUE(writeFile(path("glasses.bmf"), binaryMeshFile("glasses", "x", {"HEAD"})));
    }

    QString path(const QString &name) const
    {
        return QDir::toNativeSeparators(m_dir.filePath(name));
    }
    QStringList findings(const QString &newName, const QString &folder,
                         const QStringList &games = {}) const
    {
        const Result<AttachPlan> plan =
            prepareAttachment({path("Game/ExpansionShared/ExpansionShared.far/Skins/"
                                    "B912FAFit_brudeMI.cmx.bcf"),
                               path("glasses.bmf"), newName, path(folder), games});
        EXPECT_TRUE(plan.ok()) << plan.error().toStdString();
        return plan.ok() ? plan.value().gameCheck.findings(Copies::Made) : QStringList{};
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(GameCharacters, NewFileNamedAsTheGamesOwnIsAFindingInAnyCase)
{
    const QString expected =
        QStringLiteral("B912FAFit_brudeMI is one of the game's own characters (in %1): the new "
                       "file takes its place for every Sim that wears it.")
            .arg(path("Game/ExpansionShared/ExpansionShared.far"));
    EXPECT_EQ(findings("b912fafit_BRUDEmi", "Game/GameData/Skins"), QStringList{expected});
    EXPECT_EQ(findings("B912FAFit_brudeMI.cmx.bcf", "Game/GameData/Skins"), QStringList{expected});
    EXPECT_TRUE(findings("B912FAFit_new", "Game/GameData/Skins").isEmpty());
    // Outside a game, the games found are checked.
    EXPECT_TRUE(findings("B912FAFit_brudeMI", "Elsewhere").isEmpty());
    EXPECT_EQ(findings("B912FAFit_brudeMI", "Elsewhere", {path("Game")}), QStringList{expected});
}

TEST_F(GameCharacters, PuttingTheGamesOwnBackMovesTheLooseFileToTheNextBackup)
{
    const QString loose = path("Game/GameData/Skins/b912fafit_brudemi.cmx.bcf");
    ASSERT_TRUE(writeFile(loose, "loose"));
    ASSERT_TRUE(writeFile(loose + ".bak", "older"));
    ASSERT_TRUE(writeFile(path("Elsewhere/B912FAFit_brudeMI.cmx.bcf"), "download"));

    const std::optional<GameCharacter> own = gameCharacterReplacedBy(loose);
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(gameOwnTitle(*own), QStringLiteral("The game's own (ExpansionShared.far)"));
    EXPECT_EQ(own->entry, QStringLiteral("Skins/B912FAFit_brudeMI.cmx.bcf"));
    // The game loads neither a file outside it nor an archive's own entry.
    EXPECT_FALSE(gameCharacterReplacedBy(path("Elsewhere/B912FAFit_brudeMI.cmx.bcf")));
    EXPECT_FALSE(gameCharacterReplacedBy(
        path("Game/ExpansionShared/ExpansionShared.far/Skins/B912FAFit_brudeMI.cmx.bcf")));

    const Result<PutBack> putBack = putBackGameCharacter(loose);
    ASSERT_TRUE(putBack.ok()) << putBack.error().toStdString();
    EXPECT_EQ(putBack.value().keptAs, loose + ".bak2");
    EXPECT_FALSE(QFileInfo::exists(loose));
    EXPECT_EQ(readFile(loose + ".bak2"), "loose");
    EXPECT_EQ(readFile(loose + ".bak"), "older");

    const Result<PutBack> again = putBackGameCharacter(loose);
    ASSERT_FALSE(again.ok());
    EXPECT_TRUE(again.error().contains("b912fafit_brudemi.cmx.bcf: no loose file"))
        << again.error().toStdString();
    EXPECT_FALSE(gameCharacterReplacedBy(loose)) << "nothing left to put back";
}
