#include "compose/replace.h"
#include "tests/support/files.h"

#include <QDir>
#include <QTemporaryDir>

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
    void interrupt(ReplaceStep at, StepOutcome outcome)
    {
        const bool links = std::get<1>(GetParam());
        setReplaceStepHook([=](ReplaceStep step) {
            if (step == at)
                return outcome;
            return step == ReplaceStep::LinkOld && !links ? StepOutcome::Fail : StepOutcome::Go;
        });
    }
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
};

} // namespace

TEST_P(InterruptedReplace, AKillLeavesOldOrNewWholeAndTheNextReplaceSettlesIt)
{
    const ReplaceStep at = std::get<0>(GetParam());
    interrupt(at, StepOutcome::Abandon);
    EXPECT_FALSE(replaceFile(target(), "new", true).ok());
    const QByteArray left = testsupport::readFile(target());
    const bool newInPlace = at == ReplaceStep::NameBackup;
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
        EXPECT_EQ(testsupport::readFile(target() + ".bak2"), "new");
    }
}

TEST_P(InterruptedReplace, AFailedStepChangesNothingAndLeavesNothing)
{
    const ReplaceStep at = std::get<0>(GetParam());
    interrupt(at, StepOutcome::Fail);
    const Result<Replaced> result = replaceFile(target(), "new", true);
    if (at == ReplaceStep::NameBackup) {
        // The new content is in place; its backup is named by the next replace.
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.value().settled.size(), 1);
        EXPECT_EQ(testsupport::readFile(target()), "new");
        return;
    }
    if (at == ReplaceStep::LinkOld) {
        ASSERT_TRUE(result.ok()) << "a copy takes the place of a link";
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
                                         ReplaceStep::PutInPlace, ReplaceStep::NameBackup),
                       ::testing::Bool()));

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
