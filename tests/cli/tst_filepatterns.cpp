#include "cli/filepatterns.h"

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

// A folder lister over fixed names, noting which folders were listed.
struct FakeFolders {
    QStringList listed;
    QStringList operator()(const QString &folder)
    {
        listed.append(folder);
        if (folder == QLatin1StringView("."))
            return {"c001ma_hat.cmx", "C0_x.cmx", "C001MA_cap.CMX", "B001FAFit_01.cmx", "C0",
                    "glasses.skn",    "C0a.cmx"};
        if (folder == QLatin1StringView("Skins\\"))
            return {"B002.cmx", "B001.cmx.bcf", "B1.cmx"};
        return {};
    }
};

QStringList expanded(const QStringList &arguments, FakeFolders &folders)
{
    const Result<QStringList> result =
        expandFilePatterns(arguments, [&](const QString &f) { return folders(f); });
    EXPECT_TRUE(result.ok()) << result.error().toStdString();
    return result.ok() ? result.value() : QStringList{};
}

} // namespace

TEST(FilePatterns, MatchLikeWindowsWithoutRegardToCaseInItsOrder)
{
    FakeFolders folders;
    // Capitals order "A" before "_", as NTFS lists names.
    EXPECT_EQ(
        expanded({"c0*.cmx", "glasses.skn"}, folders),
        (QStringList{"C001MA_cap.CMX", "c001ma_hat.cmx", "C0a.cmx", "C0_x.cmx", "glasses.skn"}));
    EXPECT_EQ(folders.listed, QStringList{"."}) << "plain names are not looked up";
    EXPECT_EQ(expanded({"C0?.cmx"}, folders), (QStringList{"C0a.cmx"}));
    EXPECT_EQ(expanded({"C0.*"}, folders), (QStringList{"C0"}));
    EXPECT_EQ(expanded({"*.*"}, folders).size(), 7);
    EXPECT_EQ(expanded({"*a_h?t.cmx"}, folders), (QStringList{"c001ma_hat.cmx"}));
    // The folder stays as given, in front of each match.
    EXPECT_EQ(expanded({"Skins\\B00?.cmx*"}, folders),
              (QStringList{"Skins\\B001.cmx.bcf", "Skins\\B002.cmx"}));
}

TEST(FilePatterns, PatternsThatNameNoFileAreRefused)
{
    FakeFolders folders;
    for (const QString &pattern :
         {QStringLiteral("*.bmf"), QStringLiteral("C0?"), QStringLiteral("Nowhere\\*.cmx")}) {
        const Result<QStringList> result = expandFilePatterns(
            {"glasses.skn", pattern}, [&](const QString &f) { return folders(f); });
        ASSERT_FALSE(result.ok()) << pattern.toStdString();
        EXPECT_EQ(result.error(), pattern + ": no file matches this pattern.");
    }
    const Result<QStringList> inFolder =
        expandFilePatterns({"Sk*\\B1.cmx"}, [&](const QString &f) { return folders(f); });
    ASSERT_FALSE(inFolder.ok());
    EXPECT_TRUE(inFolder.error().contains("in a file's name only"))
        << inFolder.error().toStdString();
}
