#include "base/linelist.h"
#include "compose/attach.h"
#include "formats/textmesh.h"
#include "tests/support/files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

const QByteArray kHeading = "// Character File. Copyright 1997, Maxis Inc.\r\n"
                            "Version 300\r\n0\r\n1\r\n";

QByteArray hatMesh()
{
    return testsupport::meshFile("hat", "HEAD").replace("hat-tex", "tex");
}

// Which input the program names as at fault, and why.
struct ComposeFailure {
    enum class Input { CharacterFile, MeshFile, NewName };
    Input input;
    QString reason;
};

// The composed text up to its closing "0", or why it was refused.
using ComposeResult = Result<QByteArray, ComposeFailure>;

// Composes as the program does, from the files character.cmx and mesh.skn
// holding the bytes given. A failure naming one of the files is that file's.
ComposeResult compose(const QByteArray &character, const QByteArray &mesh, const QString &name)
{
    QTemporaryDir dir;
    const QString characterPath = dir.filePath("character.cmx");
    const QString meshPath = dir.filePath("mesh.skn");
    if (!dir.isValid() || !testsupport::writeFile(characterPath, character) ||
        !testsupport::writeFile(meshPath, mesh))
        return Failure{ComposeFailure{ComposeFailure::Input::NewName, "inputs not written"}};
    const Result<Composed> composed = composeFromFiles(characterPath, meshPath, name);
    if (composed.ok()) {
        const QByteArray &bytes = composed.value().bytes;
        if (!bytes.endsWith("\r\n"))
            return Failure{ComposeFailure{ComposeFailure::Input::NewName, "no closing line end"}};
        return bytes.chopped(2);
    }
    const QString &error = composed.error();
    for (const auto &[input, file] :
         {std::pair{ComposeFailure::Input::CharacterFile, QStringLiteral("character.cmx: ")},
          std::pair{ComposeFailure::Input::MeshFile, QStringLiteral("mesh.skn: ")}})
        if (error.startsWith(file))
            return Failure{ComposeFailure{input, error.mid(file.size())}};
    return Failure{ComposeFailure{ComposeFailure::Input::NewName, error}};
}

std::string reasonOf(const ComposeResult &result)
{
    return result.ok() ? std::string("(none)") : result.error().reason.toStdString();
}

} // namespace

TEST(ComposeLayout, CharacterWithoutSkinsGetsTheMeshAsItsOnlyGroup)
{
    const ComposeResult result = compose(testsupport::characterFile({}), hatMesh(), "head_new");
    ASSERT_TRUE(result.ok()) << reasonOf(result);
    EXPECT_EQ(result.value(), kHeading + "head_new\r\n0\r\n0\r\n1\r\nHEAD\r\nhat\r\n0\r\n0\r\n0");
    EXPECT_EQ(splitLines(result.value() + "\r\n").size(), 13 + 1);
}

TEST(ComposeLayout, CopiesEachGroupsTwoLinesAndResetsItsFlags)
{
    const QByteArray character =
        testsupport::characterFile({{"PELVIS", "xskin-b001fafit_01-PELVIS-BODY"},
                                    {" SPINE2 ", "xskin-b001fafit_01-SPINE2-BODY\t"}});
    const ComposeResult result = compose(character, hatMesh(), "B001FAFit_new");
    ASSERT_TRUE(result.ok()) << reasonOf(result);
    EXPECT_EQ(result.value(), kHeading +
                                  "B001FAFit_new\r\n0\r\n0\r\n3\r\n"
                                  "PELVIS\r\nxskin-b001fafit_01-PELVIS-BODY\r\n0\r\n0\r\n"
                                  " SPINE2 \r\nxskin-b001fafit_01-SPINE2-BODY\t\r\n0\r\n0\r\n"
                                  "HEAD\r\nhat\r\n0\r\n0\r\n0");
    EXPECT_FALSE(result.value().contains("animations follow"));
}

TEST(ComposeLayout, EightBitLinesAndNameAreWrittenUnchanged)
{
    QByteArray bone = "bone";
    for (int b = 0x80; b <= 0xFF; ++b)
        bone.append(char(b));
    const ComposeResult result = compose(testsupport::characterFile({{bone, "m\x01\x7f"}}),
                                         hatMesh(), QString::fromUtf8("Chloé_new"));
    ASSERT_TRUE(result.ok()) << reasonOf(result);
    EXPECT_TRUE(result.value().contains("\r\nChlo\xe9_new\r\n"));
    EXPECT_TRUE(result.value().contains("\r\n" + bone + "\r\nm\x01\x7f\r\n0\r\n0\r\n"));
}

TEST(ComposeLayout, LinuxLineEndsAreReadAndCrLfIsWritten)
{
    const QByteArray character = testsupport::characterFile({{"PELVIS", "body"}}, "\n");
    const QByteArray mesh = "glasses\ntex\n1\nHEAD\n";
    const ComposeResult result = compose(character, mesh, "x_new");
    ASSERT_TRUE(result.ok()) << reasonOf(result);
    EXPECT_EQ(result.value(), kHeading + "x_new\r\n0\r\n0\r\n2\r\nPELVIS\r\nbody\r\n0\r\n0\r\n"
                                         "HEAD\r\nglasses\r\n0\r\n0\r\n0");
}

TEST(ComposeLayout, OutputReadBackGrowsByOneGroupPerRun)
{
    QByteArray text = testsupport::characterFile({{"PELVIS", "body"}});
    for (int run = 1; run <= 3; ++run) {
        const ComposeResult result = compose(text, hatMesh(), "B001FAFit_01");
        ASSERT_TRUE(result.ok()) << reasonOf(result);
        text = result.value() + "\r\n";
        const LineList lines = splitLines(text);
        EXPECT_EQ(lines[7], QByteArray::number(1 + run));
        EXPECT_EQ(lines.size(), 13 + 4 * run + 1);
        EXPECT_EQ(lines[8], "PELVIS");
        EXPECT_EQ(lines[8 + 4 * run], "HEAD");
    }
}

TEST(ComposeLayout, ShortMeshFileIsUsedAsFarAsItGoes)
{
    const ComposeResult result =
        compose(testsupport::characterFile({}), "hat\r\ntex\r\n1\r\nHEAD", "n");
    ASSERT_TRUE(result.ok()) << reasonOf(result);
    EXPECT_TRUE(result.value().endsWith("\r\n1\r\nHEAD\r\nhat\r\n0\r\n0\r\n0"));
}

TEST(ComposeErrors, CountThatIsNoWholeNumberIsRefused)
{
    const ComposeResult result =
        compose(testsupport::characterFileWithCount("abc", {}), hatMesh(), "n");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().input, ComposeFailure::Input::CharacterFile);
    EXPECT_EQ(reasonOf(result), "line 7 should be the number of skins, but it is \"abc\".");
}

TEST(ComposeErrors, CountThatWouldPassTheLargestIsRefused)
{
    const ComposeResult atLimit =
        compose(testsupport::characterFileWithCount("32767", {}), hatMesh(), "n");
    EXPECT_FALSE(atLimit.ok());
    const ComposeResult huge =
        compose(testsupport::characterFileWithCount("99999999999", {}), hatMesh(), "n");
    ASSERT_FALSE(huge.ok());
    EXPECT_NE(reasonOf(huge).find("99999999999"), std::string::npos);
}

TEST(ComposeErrors, LongestAcceptedCountIsOneBelowTheLimit)
{
    QList<testsupport::Skin> skins(32766, testsupport::Skin{"b", "m"});
    const ComposeResult result = compose(testsupport::characterFile(skins), hatMesh(), "n");
    ASSERT_TRUE(result.ok()) << reasonOf(result);
    EXPECT_TRUE(result.value().contains("\r\n32767\r\n"));
}

TEST(ComposeErrors, MissingLinesAreNamed)
{
    EXPECT_EQ(reasonOf(compose("a\r\nb\r\nc", hatMesh(), "n")),
              "line 7 (the number of skins) is missing; the file has only 3 lines.");
    EXPECT_EQ(reasonOf(compose("no line ends", hatMesh(), "n")),
              "line 7 (the number of skins) is missing; the file has only 1 line.");
    EXPECT_EQ(reasonOf(compose("", hatMesh(), "n")), "the file is empty.");

    const QByteArray twoSkinsDeclared =
        "0\r\nversion 300\r\n2\r\n1\r\n4\r\n5\r\n6\r\n2\r\nPELVIS\r\nbody";
    EXPECT_EQ(reasonOf(compose(twoSkinsDeclared + "\r\n0\r\n0", hatMesh(), "n")),
              "line 12 (the bone name of skin 2) is missing; line 7 gives 2 skins, but the "
              "file ends after 12 lines.");
    EXPECT_EQ(reasonOf(compose(twoSkinsDeclared + "\r\n0\r\n0\r\nSPINE", hatMesh(), "n")),
              "line 13 (the mesh name of skin 2) is missing; line 7 gives 2 skins, but the "
              "file ends after 13 lines.");
    EXPECT_TRUE(compose(twoSkinsDeclared + "\r\n0\r\n0\r\nSPINE\r\nback", hatMesh(), "n").ok());
}

TEST(ComposeErrors, MeshWithoutBoneLineIsRefused)
{
    const ComposeResult result = compose(testsupport::characterFile({}), "hat\r\ntex\r\n1", "n");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().input, ComposeFailure::Input::MeshFile);
    EXPECT_EQ(reasonOf(result),
              "line 3 (the bone the mesh attaches to) does not begin within the file's first "
              "400 bytes.");
}

TEST(ComposeErrors, UnsafeNameIsRefused)
{
    const ComposeResult result = compose(testsupport::characterFile({}), hatMesh(), "../evil");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().input, ComposeFailure::Input::NewName);
}

TEST(NotWhatTheyClaim, CharacterHeadingMustBeVersionAndOneOutfit)
{
    QByteArray character = testsupport::characterFile({});
    EXPECT_TRUE(compose(character.replace("version 300", " VERSION 300\t"), hatMesh(), "n").ok());
    EXPECT_EQ(reasonOf(compose(character.replace(" VERSION 300\t", "hat-tex"), hatMesh(), "n")),
              "line 1 should be \"version\" and a number, but it is \"hat-tex\"; this is not a "
              "character file.");
    const QByteArray outfits =
        testsupport::characterFile({}).replace("\r\n1\r\nB001", "\r\n2\r\nB001");
    EXPECT_NE(reasonOf(compose(outfits, hatMesh(), "n")).find("line 3 should be \"1\""),
              std::string::npos);
}

TEST(NotWhatTheyClaim, MeshNeedsABoneCountAndNames)
{
    const QByteArray character = testsupport::characterFile({});
    for (const QByteArray mesh : {"hat\r\ntex\r\n0\r\nHEAD", "hat\r\ntex\r\n\r\nHEAD",
                                  "\r\ntex\r\n1\r\nHEAD", "hat\r\ntex\r\n1\r\n\r\nx"}) {
        const ComposeResult result = compose(character, mesh, "n");
        ASSERT_FALSE(result.ok()) << mesh.toStdString();
        EXPECT_EQ(result.error().input, ComposeFailure::Input::MeshFile);
    }
}

TEST(NotWhatTheyClaim, MeshCutBetweenCrAndLfGivesNoCrInTheBone)
{
    // The bone line's CR is the last byte read, its LF the first one not read.
    const QByteArray bone = QByteArray(10, 'B') + "\r";
    QByteArray mesh = "hat\r\n";
    mesh += QByteArray(kMeshBytesRead - mesh.size() - 5 - bone.size(), 't') + "\r\n1\r\n" + bone;
    ASSERT_EQ(mesh.size(), kMeshBytesRead);
    const ComposeResult result = compose(testsupport::characterFile({}), mesh + "\n0\r\n", "n");
    ASSERT_TRUE(result.ok()) << reasonOf(result);
    EXPECT_TRUE(result.value().contains("B\r\nhat\r\n0\r\n0\r\n0"));
    EXPECT_FALSE(result.value().contains("\r\r"));
}
