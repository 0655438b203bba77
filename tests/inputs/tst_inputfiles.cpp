#include "inputs/inputfiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

const QString kSep = QDir::separator();

} // namespace

TEST(OutputPaths, InputPathsAlwaysGetASeparator)
{
    EXPECT_EQ(inputFilePath("skins", "a.cmx"), "skins" + kSep + "a.cmx");
    EXPECT_EQ(inputFilePath(kSep, "a.cmx"), kSep + kSep + "a.cmx");
}
