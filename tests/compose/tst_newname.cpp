#include "compose/newname.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace kelvane;

TEST(ProposeNewName, KeepsSevenCharactersWhenTheSeventhIsAnUnderscore)
{
    EXPECT_EQ(proposeNewName("C001MA_hat.cmx", "new"), "C001MA_new");
    EXPECT_EQ(proposeNewName("C001MA_.cmx", ""), "C001MA_");
}

TEST(ProposeNewName, OtherwiseTakesNineCharactersAndAnUnderscore)
{
    EXPECT_EQ(proposeNewName("B001FAFit_01.cmx", "new"), "B001FAFit_new");
    EXPECT_EQ(proposeNewName("B001FAFi_x.cmx", "new"), "B001FAFi__new");
    EXPECT_EQ(proposeNewName("ab_cdefgh.cmx", "new"), "ab_cdefgh_new");
    EXPECT_EQ(proposeNewName("abc.cmx", "new"), "abc.cmx_new");
    EXPECT_EQ(proposeNewName("B001FAFit_01.cmx", ""), "B001FAFit_");
}

TEST(SuffixOfName, IsTheSecondUnderscoreField)
{
    EXPECT_EQ(suffixOfName("B001FAFit_new", "x"), "new");
    EXPECT_EQ(suffixOfName("a_b_c", "x"), "b");
    EXPECT_EQ(suffixOfName("abc_", "x"), "");
    EXPECT_EQ(suffixOfName("B001FAFi__new", "x"), "");
    EXPECT_EQ(suffixOfName("_lead", "x"), "lead");
}

TEST(SuffixOfName, NameWithoutUnderscoreKeepsThePreviousSuffix)
{
    EXPECT_EQ(suffixOfName("", "hat"), "hat");
    EXPECT_EQ(suffixOfName("B001FAFitnew", "hat"), "hat");
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
