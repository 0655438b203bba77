#include "formats/textcharacter.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kelvane;

TEST(SkinCount, AcceptsWholeNumbersWithBlanksAround)
{
    EXPECT_EQ(parseSkinCount("0"), 0);
    EXPECT_EQ(parseSkinCount(" 12\t"), 12);
    EXPECT_EQ(parseSkinCount("007"), 7);
    EXPECT_EQ(parseSkinCount("99999999999999999999999"), std::numeric_limits<qint64>::max());
}

TEST(SkinCount, RefusesAnythingElse)
{
    for (const char *line : {"", "  ", "abc", "2.5", "-1", "+1", "1 2", "3x", "0x10", "1e3"})
        EXPECT_FALSE(parseSkinCount(line).has_value()) << line;
}

TEST(SplitCharacterFile, KeepsOnlyTheLinesTheGroupsNeed)
{
    const QByteArray text = testsupport::characterFile({{"A", "a"}, {"B", "b"}});
    const LineList lines = splitCharacterFile(text + QByteArray(100000, 'x'));
    EXPECT_EQ(lines.size(), 4 * 2 + 6);
    EXPECT_EQ(lines.last(), "b");
    EXPECT_EQ(splitCharacterFile(testsupport::characterFile({})).size(), 8);
}

TEST(SplitCharacterFile, HostileCountsCutNoFurtherThanTheCount)
{
    QByteArray manyLines = "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n";
    EXPECT_EQ(splitCharacterFile(manyLines + "99999999999\r\n" + QByteArray(4000, '\n')).size(), 8);
    EXPECT_EQ(splitCharacterFile(manyLines + "x\r\n" + QByteArray(4000, '\n')).size(), 8);
    EXPECT_EQ(splitCharacterFile(QByteArray(100000, 'z')).size(), 1);
}
