#include "base/linelist.h"

#include <gtest/gtest.h>

using kelvane::isVersionLine;
using kelvane::LineList;
using kelvane::splitLines;

TEST(SplitLines, EmptyTextHasNoLines)
{
    EXPECT_TRUE(splitLines("").isEmpty());
}

TEST(SplitLines, CutsAtCrLfAndKeepsTheEmptyLastLine)
{
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (LineList{"a", "b", ""}));
    EXPECT_EQ(splitLines("a\r\n\r\nb"), (LineList{"a", "", "b"}));
    EXPECT_EQ(splitLines("single"), (LineList{"single"}));
}

TEST(SplitLines, LoneCrOrLfStaysInsideALineOfACrLfText)
{
    EXPECT_EQ(splitLines("a\rb\r\nc\nd\r\n"), (LineList{"a\rb", "c\nd", ""}));
    EXPECT_EQ(splitLines("a\r\r\nb"), (LineList{"a\r", "b"}));
}

TEST(SplitLines, TextWithoutCrLfIsCutAtLf)
{
    EXPECT_EQ(splitLines("a\nb\n"), (LineList{"a", "b", ""}));
    EXPECT_EQ(splitLines("a\r\nb\nc"), (LineList{"a", "b\nc"}));
    EXPECT_EQ(splitLines("only\rcarriage"), (LineList{"only\rcarriage"}));
}

TEST(SplitLines, EveryByteValuePassesThrough)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\n' && b != '\r')
            all.append(char(b));
    EXPECT_EQ(splitLines(all + "\r\n" + all), (LineList{all, all}));
}

TEST(SplitLines, StopsAfterTheLinesAskedFor)
{
    EXPECT_EQ(splitLines("a\r\nb\r\nc\r\nd", 2), (LineList{"a", "b"}));
    EXPECT_EQ(splitLines("a\nb\nc", 2), (LineList{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\nb", 5), (LineList{"a", "b"}));
    EXPECT_TRUE(splitLines("a\r\nb", 0).isEmpty());
}

TEST(VersionLine, TheWordInAnyCaseAndAWholeNumberBlanksAroundAllowed)
{
    for (const char *line : {"Version 300", "version300", "VERSION\t0", " \tversion  300 \t"})
        EXPECT_TRUE(isVersionLine(line)) << line;
    for (const char *line :
         {"", "version", "version \t", "versio 300", "xversion 300", "version 30a", "version -1",
          "version 3 0", "version 300\r", "ver sion 300", "300"})
        EXPECT_FALSE(isVersionLine(line)) << line;
}
