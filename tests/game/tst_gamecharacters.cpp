#include "compose/attach.h"
#include "game/gamecharacters.h"
#include "tests/support/attachedcmxfile.h"
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
        ASSERT_TRUE(writeFile(path(kArchive), farArchive({{"Skins\\B912FAFit_brudeMI.cmx.bcf",
                                                           binaryCharacterFile({})}})));
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
            prepareAttachment({path(kArchive + "/Skins/B912FAFit_brudeMI.cmx.bcf"),
                               path("glasses.bmf"), newName, path(folder), games});
        EXPECT_TRUE(plan.ok()) << plan.error().toStdString();
        return plan.ok() ? plan.value().gameCheck.findings(Copies::Made) : QStringList{};
    }

    const QString kArchive = QStringLiteral("Game/ExpansionShared/ExpansionShared.far");
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(GameCharacters, NewFileNamedAsTheGamesOwnIsAFindingInAnyCase)
{
    const QString expected =
        QStringLiteral("B912FAFit_brudeMI is one of the game's own characters (in %1): the new "
                       "file takes its place for every Sim that wears it.")
            .arg(path(kArchive));
    EXPECT_EQ(findings("b912fafit_BRUDEmi", "Game/GameData/Skins"), QStringList{expected});
    EXPECT_EQ(findings("B912FAFit_brudeMI.cmx.bcf", "Game/GameData/Skins"), QStringList{expected});
    EXPECT_TRUE(findings("B912FAFit_new", "Game/GameData/Skins").isEmpty());
    // Outside a game, the games found are checked.
    EXPECT_TRUE(findings("B912FAFit_brudeMI", "Elsewhere").isEmpty());
    EXPECT_EQ(findings("B912FAFit_brudeMI", "Elsewhere", {path("Game")}), QStringList{expected});
}

// The game loads neither a file outside it nor an archive's own entry.
TEST_F(GameCharacters, OnlyALooseFileInTheGameTakesThePlaceOfItsOwn)
{
    const QString loose = path("Game/GameData/Skins/b912fafit_brudemi.cmx.bcf");
    ASSERT_TRUE(writeFile(loose, "loose"));
    ASSERT_TRUE(writeFile(path("Elsewhere/B912FAFit_brudeMI.cmx.bcf"), "download"));
    EXPECT_EQ(gameCharacterReplacedBy(loose).value_or(GameCharacter{}).entry,
              "Skins/B912FAFit_brudeMI.cmx.bcf");
    EXPECT_FALSE(gameCharacterReplacedBy(path("Elsewhere/B912FAFit_brudeMI.cmx.bcf")));
    EXPECT_FALSE(gameCharacterReplacedBy(path(kArchive + "/Skins/B912FAFit_brudeMI.cmx.bcf")));
}
