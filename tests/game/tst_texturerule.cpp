#include "game/charactercode.h"
#include "game/texturerule.h"
#include "inputs/archivecharacters.h"

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

QStringList fileNamesOf(const QList<CharacterTexture> &textures)
{
    QStringList names;
    for (const CharacterTexture &texture : textures)
        names.append(texture.fileName + ' ' + texture.tone + ' ' + texture.label);
    return names;
}

} // namespace

// Labels differ from the character file's; any case; the prefix stops at the
// first "_"; a tone must follow it directly; name order.
TEST(TextureRule, CharacterTexturesByPrefixAndToneWhateverTheirLabel)
{
    const QStringList files{"C001FAdrk_Sharon2.bmp", "c001falgt_Shannon01.BMP",
                            "C001FAdrk_Sharon.bmp",  "C001FA_Mercedes.cmx",
                            "C001FAXlgt_other.bmp",  "C001FAlgt.tga",
                            "C001FAmedium_x.bmp",    "C001FAmed_.bmp"};
    EXPECT_EQ(texturePrefixOf("B005mafit_01.cmx.bcf"), "B005mafit");
    EXPECT_EQ(fileNamesOf(characterTexturesAmong("C001FA_Mercedes.cmx", files)),
              (QStringList{"C001FAdrk_Sharon.bmp drk Sharon", "C001FAdrk_Sharon2.bmp drk Sharon2",
                           "c001falgt_Shannon01.BMP lgt Shannon01"}));
    EXPECT_EQ(fileNamesOf(characterTexturesAmong("B005mafit_01.cmx", {"B005MAFitlgt_hippy.bmp"})),
              QStringList{"B005MAFitlgt_hippy.bmp lgt hippy"});
    // Hands have no label.
    EXPECT_EQ(fileNamesOf(characterTexturesAmong("HMLO.cmx", {"HMLOlgt.bmp", "HMLOlgtx.bmp"})),
              QStringList{"HMLOlgt.bmp lgt "});
}

TEST(TextureRule, UnisexChildWearsEitherSexsTextures)
{
    const QStringList files{"B001MCChdlgt_boy01.bmp", "B001FCChdlgt_girl01.bmp",
                            "B001ACChdlgt_no.bmp"};
    EXPECT_EQ(
        fileNamesOf(characterTexturesAmong("B001UCChd_01.cmx", files)),
        (QStringList{"B001FCChdlgt_girl01.bmp lgt girl01", "B001MCChdlgt_boy01.bmp lgt boy01"}));
    EXPECT_TRUE(characterTexturesAmong("B001MCChd_01.cmx", {"B001FCChdlgt_girl01.bmp"}).isEmpty());
}

TEST(TextureRule, DefaultLabelIsTheFilesOwnElseTheFirst)
{
    const QList<CharacterTexture> textures = characterTexturesAmong(
        "C001FA_Mercedes.cmx",
        {"C001FAlgt_b.bmp", "C001FAlgt_a.bmp", "C001FAdrk_mercedes.bmp", "C001FAdrk_a.bmp"});
    EXPECT_EQ(defaultTextureLabel("C001FA_Mercedes.cmx", textures, "lgt"), "a");
    EXPECT_EQ(defaultTextureLabel("C001FA_Mercedes.cmx", textures, "drk"), "mercedes");
    EXPECT_EQ(defaultTextureLabel("C001FA_Mercedes.cmx", textures, "med"), "");
}

// Which skins wear their mesh's texture, and the hands' textures.
TEST(TextureRule, SkinToneTexturesHandsAndNameCodes)
{
    for (const char *tone : {"b001fcchdlgt_girl01", "c001mclgt_ave", "HMLOdrk", "extrememlgt_01"})
        EXPECT_TRUE(isSkinToneTexture(tone)) << tone;
    for (const char *own : {"c005ma_hipspecs", "nerdspecs", "repomfit_01", "lgt"})
        EXPECT_FALSE(isSkinToneTexture(own)) << own;
    EXPECT_EQ(handTextureFileNames("HMLO", "lgt"),
              (QStringList{"HMLOlgt.bmp", "HMAOlgt.bmp", "HULOlgt.bmp", "HUAOlgt.bmp"}));

    using Kind = CharacterCode::Kind;
    EXPECT_EQ(characterCodeOf("B005mafit_01.cmx").kind, Kind::Body);
    EXPECT_EQ(characterCodeOf("C001FA_Mercedes.cmx.bcf").kind, Kind::Head);
    EXPECT_EQ(characterCodeOf("HMLO.cmx").kind, Kind::Other);
    EXPECT_EQ(characterCodeOf("adult-skeleton.cmx").kind, Kind::Other);
    const CharacterCode kid = characterCodeOf("B001UCChd_01.cmx");
    EXPECT_TRUE(goesWith(kid, characterCodeOf("C001FC_Amanda.cmx")));
    EXPECT_TRUE(goesWith(kid, characterCodeOf("C001MC_ave.cmx")));
    EXPECT_FALSE(goesWith(kid, characterCodeOf("C001MA_Ross.cmx")));
    EXPECT_FALSE(goesWith(characterCodeOf("B001FAFit_01.cmx"), characterCodeOf("C001MA_Ross.cmx")));
    EXPECT_EQ(openHandsOf(characterCodeOf("B001FAFit_01.cmx")).value(1).meshName,
              "xskin-hfro-R_HAND-HANDFR");
    EXPECT_EQ(openHandsOf(kid).value(0).meshName, "xskin-hulo-L_HAND-HANDCL");
    EXPECT_TRUE(openHandsOf(characterCodeOf("C001FA_Mercedes.cmx")).isEmpty());
}

// The game's own folders hold hands and animations beside the characters: a
// hand wears its hand textures, an animation is no outfit at all.
TEST(TextureRule, BodiesAndTonesWearTheirOwnGlassesTheirsHandsAndAnimationsAreKnown)
{
    EXPECT_TRUE(kelvane::wearsOwnTexture(QStringLiteral("PELVIS"), QStringLiteral("hatband")));
    EXPECT_TRUE(kelvane::wearsOwnTexture(QStringLiteral("HEAD"), QStringLiteral("c001mclgt_ave")));
    EXPECT_TRUE(kelvane::wearsOwnTexture(QStringLiteral("HEAD"), QStringLiteral("x")));
    EXPECT_FALSE(
        kelvane::wearsOwnTexture(QStringLiteral("HEAD"), QStringLiteral("c005ma_hipspecs")));
    EXPECT_EQ(kelvane::handCodeOf(QStringLiteral("hulo.cmx")), QStringLiteral("HULO"));
    EXPECT_TRUE(kelvane::handCodeOf(QStringLiteral("HEAD.cmx")).isEmpty());
    EXPECT_TRUE(kelvane::handCodeOf(QStringLiteral("B001FAFit_01.cmx")).isEmpty());
    EXPECT_TRUE(kelvane::holdsSkeletonsOrSkills(
        "// Character File.\r\nversion 300\r\n0\r\n0\r\n1\r\na2o-idle1\r\n"));
    EXPECT_FALSE(kelvane::holdsSkeletonsOrSkills(
        "// Character File.\r\nversion 300\r\n0\r\n1\r\nB001FAFit_01\r\n0\r\n0\r\n"));
}
