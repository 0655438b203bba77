// Writes that fail are failures, and no replace loses an update or waits.
#include "compose/attach.h"
#include "compose/gamecharacters.h"
#include "compose/replace.h"
#include "compose/wholefile.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

using namespace kelvane;
using testsupport::readFile;
using testsupport::writeFile;

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
    static void failAt(ReplaceStep failed)
    {
        setReplaceStepHook([failed](ReplaceStep step) {
            return step == failed ? StepOutcome::Fail : StepOutcome::Go;
        });
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(Writes, AWholeFileThatFailsAtAnyStepLeavesNoFileOrTheOldOne)
{
    ASSERT_TRUE(writeFile(path("old.bmp"), "old"));
    for (const ReplaceStep step :
         {ReplaceStep::WriteNew, ReplaceStep::SyncNew, ReplaceStep::PutInPlace}) {
        failAt(step);
        EXPECT_FALSE(writeWholeFile(path("new.skn"), "new").ok());
        EXPECT_FALSE(writeWholeFile(path("old.bmp"), "new").ok());
        EXPECT_EQ(entries(), QStringList{"old.bmp"});
        EXPECT_EQ(readFile(path("old.bmp")), "old");
    }
    setReplaceStepHook({});
    ASSERT_TRUE(writeWholeFile(path("old.bmp"), "new").ok());
    EXPECT_EQ(readFile(path("old.bmp")), "new");
}

#ifdef Q_OS_UNIX
// A buffered write fails only when flushed: a file size limit stands in for
// a full disk.
TEST_F(Writes, AFullDiskIsAFailureAndLeavesNothing)
{
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlim_t before = limit.rlim_cur;
    limit.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const Result<void> written = writeWholeFile(path("hat.skn"), QByteArray(1000, 'x'));
    limit.rlim_cur = before;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(written.error().contains("the disk may be full")) << written.error().toStdString();
    EXPECT_EQ(entries(), QStringList());
}
#endif

// A copy for the game that fails stops everything: the new character file
// would name what is not there.
TEST_F(Writes, AFailedCopyLeavesNoCopyAndNoCharacterFile)
{
    for (const char *folder : {"dl", "out"})
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(folder));
    ASSERT_TRUE(writeFile(path("a.cmx"), testsupport::characterFile({{"PELVIS", "b"}})));
    ASSERT_TRUE(writeFile(path("dl/hat.skn"), testsupport::meshFile("hat", "HEAD")));
    const Result<AttachPlan> plan =
        prepareAttachment({path("a.cmx"), path("dl/hat.skn"), "a_hat", path("out")});
    ASSERT_TRUE(plan.ok()) << plan.error().toStdString();
    ASSERT_FALSE(plan.value().gameCheck.copies.isEmpty());
    for (const ReplaceStep step : {ReplaceStep::WriteNew, ReplaceStep::SyncNew}) {
        failAt(step);
        const Result<CreatedFile> created = carryOut(plan.value(), {Copies::Made});
        ASSERT_FALSE(created.ok());
        EXPECT_TRUE(created.error().contains("was not written")) << created.error().toStdString();
        EXPECT_EQ(entries("out"), QStringList());
    }
}

// A change made to the file after it was read, while a question stood open,
// is neither lost nor replaced; the file is read again.
TEST_F(Writes, AFileChangedSinceItWasReadIsNotReplaced)
{
    ASSERT_TRUE(writeFile(path("a.cmx"), testsupport::characterFile({{"PELVIS", "b"}})));
    ASSERT_TRUE(writeFile(path("hat.skn"), testsupport::meshFile("hat", "HEAD")));
    const AttachInputs inputs{path("a.cmx"), path("hat.skn"), "a", m_dir.path()};
    const Result<AttachPlan> plan = prepareAttachment(inputs);
    ASSERT_TRUE(plan.ok() && plan.value().replacesFile) << plan.error().toStdString();
    EXPECT_FALSE(changedSinceRead(plan.value()));
    const QByteArray changed = testsupport::characterFile({{"PELVIS", "b"}, {"HEAD", "cap"}});
    ASSERT_TRUE(writeFile(path("a.cmx"), changed));
    EXPECT_TRUE(changedSinceRead(plan.value()));
    const Result<CreatedFile> refused = carryOut(plan.value());
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error().contains("changed after it was read"));
    EXPECT_EQ(readFile(path("a.cmx")), changed);
    EXPECT_EQ(entries(), (QStringList{"a.cmx", "hat.skn"}));

    const Result<AttachPlan> again = prepareAttachment(inputs);
    ASSERT_TRUE(again.ok() && carryOut(again.value()).ok());
    EXPECT_TRUE(readFile(path("a.cmx")).contains("HEAD\r\ncap\r\n"));
    EXPECT_TRUE(readFile(path("a.cmx")).contains("HEAD\r\nhat\r\n"));
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
        ASSERT_FALSE(refused.ok());
        EXPECT_TRUE(refused.error().contains("remove " + lock)) << refused.error().toStdString();
        EXPECT_EQ(readFile(target), "old");
        ASSERT_TRUE(QFile::remove(lock) || QDir().rmdir(lock));
    }
    EXPECT_TRUE(replaceFile(target, "new", true).ok());
    EXPECT_FALSE(QFileInfo::exists(lock));
}
#endif

namespace {

// A game whose shared archive holds one body, and a loose file in its skins
// folder that takes its place.
class PutBackGameOwn : public Writes
{
protected:
    void SetUp() override
    {
        Writes::SetUp();
        for (const char *folder : {"Game/GameData/Skins", "Game/ExpansionShared"})
            ASSERT_TRUE(QDir(m_dir.path()).mkpath(QLatin1String(folder)));
        ASSERT_TRUE(writeFile(path("Game/ExpansionShared/ExpansionShared.far"),
                              testsupport::farArchive({{"Skins\\B912FAFit_brudeMI.cmx.bcf",
                                                        testsupport::binaryCharacterFile({})}})));
        ASSERT_TRUE(writeFile(m_loose, "loose"));
    }

    const QString m_loose = path("Game/GameData/Skins/b912fafit_brudemi.cmx.bcf");
};

} // namespace

TEST_F(PutBackGameOwn, AMoveThatFailsLosesNothingAndALockedFileWaits)
{
    // Where renaming without replacing is refused, a link and an unlink do it;
    // an unlink refused leaves the file as it was.
    setReplaceStepHook([](ReplaceStep step) {
        return step == ReplaceStep::RenameBackup || step == ReplaceStep::DropKeptName
                   ? StepOutcome::Fail
                   : StepOutcome::Go;
    });
    const Result<PutBack> failed = putBackGameCharacter(m_loose);
    setReplaceStepHook({});
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.error().contains("the game still loads it")) << failed.error().toStdString();
    EXPECT_EQ(entries("Game/GameData/Skins"), QStringList{"b912fafit_brudemi.cmx.bcf"});
    EXPECT_EQ(readFile(m_loose), "loose");
    {
        QLockFile running(m_loose + ".kelvane-lock");
        ASSERT_TRUE(running.tryLock(0));
        const Result<PutBack> refused = putBackGameCharacter(m_loose);
        EXPECT_TRUE(!refused.ok() && refused.error().contains("is replacing it right now"));
    }
    EXPECT_TRUE(putBackGameCharacter(m_loose).ok());
    EXPECT_EQ(readFile(m_loose + ".bak"), "loose");
}

#ifdef Q_OS_UNIX
// Where names keep their case, a twin named in other case overrides the
// character as well: both are moved, and both named.
TEST_F(PutBackGameOwn, CaseTwinsAreMovedToo)
{
    const QString twin = path("Game/GameData/Skins/B912FAFit_brudeMI.cmx.bcf");
    ASSERT_TRUE(writeFile(twin, "twin"));
    ASSERT_TRUE(writeFile(twin + ".bak", "older"));
    EXPECT_EQ(caseTwinsOf(m_loose), QStringList{twin});
    const Result<PutBack> putBack = putBackGameCharacter(m_loose);
    ASSERT_TRUE(putBack.ok()) << putBack.error().toStdString();
    ASSERT_EQ(putBack.value().twins.size(), 1);
    EXPECT_EQ(putBack.value().twins.first().keptAs, twin + ".bak2");
    EXPECT_EQ(readFile(twin + ".bak2"), "twin");
    EXPECT_EQ(readFile(m_loose + ".bak"), "loose");
    EXPECT_FALSE(QFileInfo::exists(twin) || QFileInfo::exists(m_loose));
}
#endif
