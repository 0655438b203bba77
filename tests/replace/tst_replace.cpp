#include "replace/replace.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

// A folder holding a.cmx, replaced with every step of the replace failed or
// abandoned in turn, with and without hard links.
class InterruptedReplace : public ::testing::TestWithParam<std::tuple<ReplaceStep, bool>>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(testsupport::writeFile(target(), "old"));
    }
    void TearDown() override { setReplaceStepHook({}); }

    QString target() const { return m_dir.filePath("a.cmx"); }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // The step after a link of the backup name is reached where renaming
    // without replacing is refused.
    void interrupt(ReplaceStep at, StepOutcome outcome)
    {
        const bool links = std::get<1>(GetParam());
        m_reached = false;
        setReplaceStepHook([=, this](ReplaceStep step) {
            if (step == at) {
                m_reached = true;
                return outcome;
            }
            const bool refused =
                (step == ReplaceStep::LinkOld && !links) ||
                (step == ReplaceStep::RenameBackup && at == ReplaceStep::DropKeptName);
            return refused ? StepOutcome::Fail : StepOutcome::Go;
        });
    }
    // Not every system takes every step (Windows renames a backup in one).
    bool skipped(ReplaceStep at) const { return !m_reached && at >= ReplaceStep::RenameBackup; }
    // Every backup is whole: it holds the content of an earlier version.
    void expectWholeBackups() const
    {
        for (const QString &name : entries()) {
            if (name.contains(".bak")) {
                EXPECT_EQ(testsupport::readFile(m_dir.filePath(name)), "old") << name.toStdString();
            }
        }
    }

    QTemporaryDir m_dir;
    bool m_reached = false;
};

} // namespace

TEST_P(InterruptedReplace, AKillLeavesOldOrNewWholeAndTheNextReplaceSettlesIt)
{
    const ReplaceStep at = std::get<0>(GetParam());
    interrupt(at, StepOutcome::Abandon);
    const bool done = replaceFile(target(), "new", true).ok();
    if (skipped(at))
        GTEST_SKIP();
    EXPECT_FALSE(done);
    const QByteArray left = testsupport::readFile(target());
    const bool newInPlace = at >= ReplaceStep::NameBackup; // the steps after PutInPlace
    EXPECT_EQ(left, newInPlace ? "new" : "old");
    expectWholeBackups();

    interrupt(ReplaceStep(-1), StepOutcome::Go);
    const Result<Replaced> next = replaceFile(target(), "newer", true);
    ASSERT_TRUE(next.ok()) << next.error().toStdString();
    const bool leftSomething = at != ReplaceStep::WriteNew;
    EXPECT_EQ(next.value().settled.size(), leftSomething ? 1 : 0);
    EXPECT_EQ(testsupport::readFile(target()), "newer");
    const QStringList expected = newInPlace ? QStringList{"a.cmx", "a.cmx.bak", "a.cmx.bak2"}
                                            : QStringList{"a.cmx", "a.cmx.bak"};
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(testsupport::readFile(target() + ".bak"), "old");
    if (newInPlace) {
        // Never a second name of the first backup.
        EXPECT_EQ(testsupport::readFile(target() + ".bak2"), "new");
    }
}

TEST_P(InterruptedReplace, AFailedStepChangesNothingAndLeavesNothing)
{
    const ReplaceStep at = std::get<0>(GetParam());
    interrupt(at, StepOutcome::Fail);
    const Result<Replaced> result = replaceFile(target(), "new", true);
    if (skipped(at))
        GTEST_SKIP();
    if (at == ReplaceStep::DropKeptName) {
        // Named, its temporary name left as a kill leaves it (settled above), and said.
        ASSERT_TRUE(result.ok());
        EXPECT_TRUE(result.value().settled.join("").contains("could not be removed ("));
        return;
    }
    if (at == ReplaceStep::NameBackup) {
        // The new content is in place; its backup is named by the next replace.
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.value().settled.size(), 1);
        EXPECT_EQ(testsupport::readFile(target()), "new");
        return;
    }
    if (at == ReplaceStep::LinkOld || at == ReplaceStep::RenameBackup) {
        ASSERT_TRUE(result.ok()) << "a copy takes the place of a link, a link of a rename";
        EXPECT_EQ(entries(), (QStringList{"a.cmx", "a.cmx.bak"}));
        expectWholeBackups();
        return;
    }
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(testsupport::readFile(target()), "old");
    EXPECT_EQ(entries(), QStringList{"a.cmx"});
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, InterruptedReplace,
    ::testing::Combine(::testing::Values(ReplaceStep::WriteNew, ReplaceStep::SyncNew,
                                         ReplaceStep::KeepOld, ReplaceStep::LinkOld,
                                         ReplaceStep::PutInPlace, ReplaceStep::NameBackup,
                                         ReplaceStep::RenameBackup, ReplaceStep::DropKeptName),
                       ::testing::Bool()));

// Case twins and a pipe named as a leftover exist only where names keep their case.
#ifdef Q_OS_UNIX
TEST(Replace, OnlyTheFilesOwnLeftoversAreSettledAndOnlyRegularFiles)
{
    QTemporaryDir dir;
    const QString twin = dir.filePath("A.cmx");
    ASSERT_TRUE(testsupport::writeFile(twin, "A"));
    ASSERT_TRUE(testsupport::writeFile(twin + ".kelvane-old-1", "A before"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("a.cmx.kelvane-old-2")).constData(), 0600),
              0);
    const QString target = dir.filePath("a.cmx");
    ASSERT_TRUE(testsupport::writeFile(target, "a"));

    const Result<Replaced> replaced = replaceFile(target, "a new", true);
    ASSERT_TRUE(replaced.ok()) << replaced.error().toStdString();
    EXPECT_EQ(replaced.value().settled, QStringList());
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files | QDir::System, QDir::Name),
        (QStringList{"A.cmx", "A.cmx.kelvane-old-1", "a.cmx", "a.cmx.bak", "a.cmx.kelvane-old-2"}));
    EXPECT_EQ(testsupport::readFile(target + ".bak"), "a");
}
#endif

// A replace another instance runs is neither disturbed nor taken for an
// interrupted one; a lock its killed owner left is taken over.
TEST(Replace, ARunningReplaceOfTheFileIsLeftAloneAndAKilledOnesLockIsTakenOver)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("a.cmx");
    ASSERT_TRUE(testsupport::writeFile(target, "old"));
    ASSERT_TRUE(testsupport::writeFile(target + ".kelvane-new-1", "theirs"));
    {
        QLockFile running(target + ".kelvane-lock");
        ASSERT_TRUE(running.tryLock(0));
        const Result<Replaced> refused = replaceFile(target, "new", true);
        EXPECT_TRUE(!refused.ok() && refused.error().contains("is replacing it right now"));
        EXPECT_EQ(testsupport::readFile(target + ".kelvane-new-1"), "theirs");
    }
#ifdef Q_OS_UNIX
    const pid_t killed = ::fork();
    if (killed == 0) // takes the lock and ends without giving it back, as if killed
        ::_exit(QLockFile(target + ".kelvane-lock").tryLock(0) ? 0 : 1);
    int status = 1;
    ASSERT_TRUE(::waitpid(killed, &status, 0) == killed && status == 0);
#endif
    const Result<Replaced> replaced = replaceFile(target, "new", true);
    ASSERT_TRUE(replaced.ok()) << replaced.error().toStdString();
    EXPECT_EQ(replaced.value().settled.size(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"a.cmx", "a.cmx.bak"}));
}

// Ten thousand files take a minute to make under Wine; the code is the same there.
#ifndef Q_OS_WIN
TEST(Replace, NoFreeBackupNameIsRefusedBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("a.cmx");
    ASSERT_TRUE(testsupport::writeFile(target, "old"));
    ASSERT_TRUE(testsupport::writeFile(target + ".bak", "x"));
    for (int n = 2; n <= 9999; ++n)
        ASSERT_TRUE(testsupport::writeFile(target + ".bak" + QString::number(n), "x"));
    const Result<Replaced> refused = replaceFile(target, "new", true);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error().contains("no backup name is free"))
        << refused.error().toStdString();
    EXPECT_EQ(testsupport::readFile(target), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 10000);
}
#endif

#ifdef Q_OS_WIN
#include <qt_windows.h>

TEST(Replace, AFileAnotherProgramHoldsIsNamedAsSuchAndNothingIsLeft)
{
    QTemporaryDir dir;
    const QString target = QDir::toNativeSeparators(dir.filePath("a.cmx"));
    ASSERT_TRUE(testsupport::writeFile(target, "old"));
    // Open as an editor or the game holds it: read and write, but no renaming.
    const HANDLE held = CreateFileW(reinterpret_cast<const wchar_t *>(target.utf16()), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Result<Replaced> refused = replaceFile(target, "new", true);
    CloseHandle(held);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error().contains("another program is using it"))
        << refused.error().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.cmx"});
    EXPECT_EQ(testsupport::readFile(target), "old");
}
#endif
