// Writes that fail are failures, and no replace waits or loses a file.
#include "compose/attach.h"
#include "game/gamecharacters.h"
#include "replace/replace.h"
#include "replace/wholefile.h"
#include "tests/support/attachedcmxfile.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

using namespace kelvane;
using namespace testsupport;

namespace {

class Writes : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void TearDown() override { setReplaceStepHook({}); }

    QString path(const QString &name) const
    {
        return QDir::toNativeSeparators(m_dir.filePath(name));
    }
    QStringList entries(const QString &folder = {}) const
    {
        return QDir(m_dir.filePath(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    static void failAt(const QList<ReplaceStep> &failed)
    {
        setReplaceStepHook([failed](ReplaceStep step) {
            return failed.contains(step) ? StepOutcome::Fail : StepOutcome::Go;
        });
    }

    QTemporaryDir m_dir;
};

} // namespace

// A write, flush or sync refused leaves no file of the name, or the old one;
// a copy for the game refused stops the character file that would name it.
TEST_F(Writes, AWriteRefusedAtAnyStepLeavesNothingWrittenAndStopsTheRest)
{
    const QByteArray old = characterFile({{"PELVIS", "b"}});
    ASSERT_TRUE(writeFile(path("a.cmx"), old));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("dl/out"));
    ASSERT_TRUE(writeFile(path("dl/hat.skn"), meshFile("hat", "HEAD")));
    const Result<AttachPlan> plan =
        prepareAttachment({path("a.cmx"), path("dl/hat.skn"), "a_hat", path("dl/out")});
    ASSERT_TRUE(plan.ok() && !plan.value().gameCheck.copies.isEmpty());
    for (const ReplaceStep step :
         {ReplaceStep::WriteNew, ReplaceStep::SyncNew, ReplaceStep::PutInPlace}) {
        failAt({step});
        EXPECT_FALSE(writeWholeFile(path("new.bmp"), "new").ok());
        EXPECT_FALSE(writeWholeFile(path("a.cmx"), "new").ok());
        const Result<CreatedFile> created = carryOut(plan.value(), {Copies::Made});
        EXPECT_TRUE(!created.ok() && created.error().contains("was not written"));
        EXPECT_EQ(entries(), (QStringList{"a.cmx"}));
        EXPECT_EQ(readFile(path("a.cmx")), old);
        EXPECT_EQ(entries("dl/out"), QStringList());
    }
}

#ifdef Q_OS_UNIX
// A lock that can never be taken must not hang, spin or block: what stands in
// its place is named, to be removed.
TEST_F(Writes, WhatIsNoLockFileIsRefusedAtOnceNamingIt)
{
    const QString target = path("a.cmx");
    const QString lock = target + ".kelvane-lock";
    ASSERT_TRUE(writeFile(target, "old"));
    const QList<std::function<bool()>> traps = {
        [&] { return ::mkfifo(QFile::encodeName(lock).constData(), 0600) == 0; },
        [&] { return QDir().mkdir(lock); },
        [&] { return QFile::link("/dev/zero", lock); },
        [&] { return QFile::link(path("gone"), lock); },
    };
    for (const auto &trap : traps) {
        ASSERT_TRUE(trap());
        const Result<Replaced> refused = replaceFile(target, "new", true);
        EXPECT_TRUE(!refused.ok() && refused.error().contains("remove " + lock));
        EXPECT_EQ(readFile(target), "old");
        ASSERT_TRUE(QFile::remove(lock) || QDir().rmdir(lock));
    }
}
#endif

// Putting the game's own back renames, never copies: a move refused leaves
// the file as it was; it waits for a running replace; a case twin that
// overrides the character too is moved with it.
TEST_F(Writes, PuttingTheGamesOwnBackLosesNothingAndMovesCaseTwins)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("Game/GameData/Skins"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("Game/ExpansionShared"));
    ASSERT_TRUE(
        writeFile(path("Game/ExpansionShared/ExpansionShared.far"),
                  farArchive({{"Skins\\B912FAFit_brudeMI.cmx.bcf", binaryCharacterFile({})}})));
    const QString loose = path("Game/GameData/Skins/b912fafit_brudemi.cmx.bcf");
    ASSERT_TRUE(writeFile(loose, "loose"));
#ifdef Q_OS_UNIX // Windows moves a file in one step
    failAt({ReplaceStep::RenameBackup, ReplaceStep::DropKeptName});
    const Result<PutBack> failed = putBackGameCharacter(loose);
    setReplaceStepHook({});
    EXPECT_TRUE(!failed.ok() && failed.error().contains("the game still loads it"));
    EXPECT_EQ(entries("Game/GameData/Skins"), QStringList{"b912fafit_brudemi.cmx.bcf"});
#endif
    {
        QLockFile running(loose + ".kelvane-lock");
        ASSERT_TRUE(running.tryLock(0));
        const Result<PutBack> refused = putBackGameCharacter(loose);
        EXPECT_TRUE(!refused.ok() && refused.error().contains("is replacing it right now"));
    }
#ifdef Q_OS_UNIX
    const QString twin = path("Game/GameData/Skins/B912FAFit_brudeMI.cmx.bcf");
    ASSERT_TRUE(writeFile(twin, "twin"));
#endif
    const Result<PutBack> putBack = putBackGameCharacter(loose);
    ASSERT_TRUE(putBack.ok()) << putBack.error().toStdString();
    EXPECT_EQ(readFile(loose + ".bak"), "loose");
#ifdef Q_OS_UNIX
    ASSERT_EQ(putBack.value().twins.size(), 1);
    EXPECT_EQ(readFile(twin + ".bak"), "twin");
    EXPECT_FALSE(QFileInfo::exists(twin));
#endif
}
