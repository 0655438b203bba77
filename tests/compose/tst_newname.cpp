#include "compose/newname.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace kelvane;

// A file name, a suffix, and what they give.
struct NameCase {
    const char *given;
    const char *suffix;
    const char *expected;
};

TEST(ProposeNewName, SevenCharactersWhenTheSeventhIsAnUnderscoreOtherwiseNineAndOne)
{
    const NameCase cases[] = {
        {"C001MA_hat.cmx", "new", "C001MA_new"},      {"C001MA_.cmx", "", "C001MA_"},
        {"B001FAFit_01.cmx", "new", "B001FAFit_new"}, {"B001FAFi_x.cmx", "new", "B001FAFi__new"},
        {"ab_cdefgh.cmx", "new", "ab_cdefgh_new"},    {"abc.cmx", "new", "abc.cmx_new"},
        {"B001FAFit_01.cmx", "", "B001FAFit_"},
    };
    for (const NameCase &c : cases)
        EXPECT_EQ(proposeNewName(c.given, c.suffix), c.expected) << c.given;
}

TEST(SuffixOfName, IsTheSecondUnderscoreFieldOrThePreviousSuffixWithoutOne)
{
    const NameCase cases[] = {
        {"B001FAFit_new", "x", "new"},  {"a_b_c", "x", "b"},    {"abc_", "x", ""},
        {"B001FAFi__new", "x", ""},     {"_lead", "x", "lead"}, {"", "hat", "hat"},
        {"B001FAFitnew", "hat", "hat"},
    };
    for (const NameCase &c : cases)
        EXPECT_EQ(suffixOfName(c.given, c.suffix), c.expected) << c.given;
}

TEST(NewNameProblem, AcceptsLatin1NamesThatWindowsCanHold)
{
    EXPECT_TRUE(checkNewName("B001FAFit_new").ok());
    EXPECT_TRUE(checkNewName(QString::fromUtf8("Chloé's hat.cmx")).ok());
    EXPECT_TRUE(checkNewName("CONSOLE").ok());
    EXPECT_TRUE(checkNewName("COM10").ok());
    EXPECT_TRUE(checkNewName(QString(250, 'x')).ok());
}

TEST(NewNameProblem, RefusesWhatCannotBeAFileNameOrLatin1)
{
    const QStringList refused = {"a/b",
                                 "..\\up",
                                 "c:x",
                                 "a<b",
                                 "a>b",
                                 "a\"b",
                                 "a|b",
                                 "a?b",
                                 "a*b",
                                 "a\tb",
                                 "a\r\nb",
                                 QString(QChar(0x7F)),
                                 QString::fromUtf8("hat\u2013new"),
                                 QString::fromUtf8("帽子"),
                                 "name.",
                                 "name ",
                                 "..",
                                 "con",
                                 "Aux.hat",
                                 "NUL ",
                                 "lpt9",
                                 QString::fromUtf8("COM¹"),
                                 QString(252, 'x'),
                                 QString(126, QChar(0xE9))};
    for (const QString &name : refused)
        EXPECT_FALSE(checkNewName(name).ok()) << name.toStdString();
    EXPECT_EQ(checkNewName("").error(), "Type a name for the new file.");
}
