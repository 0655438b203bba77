#include "compose/attach.h"
#include "formats/characterformat.h"
#include "tests/support/attachedcmxfile.h"
#include "tests/support/files.h"
#include "tests/support/results.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace kelvane;
namespace ts = testsupport;
using ts::errorOf;
using ts::kBody;
using ts::says;
using ts::shown;

namespace {

// A binary character file read by the test itself, not by the reader under
// test. Bytes missing or left over show as a count of skeletons of ~0.
ts::BinaryCharacter parsedBinary(const QByteArray &bytes)
{
    qsizetype at = 0;
    const auto u32 = [&] {
        at += 4;
        return at <= bytes.size() ? qFromLittleEndian<quint32>(bytes.constData() + at - 4) : ~0u;
    };
    const auto string = [&] {
        const qsizetype length = at < bytes.size() ? quint8(bytes[at]) : 0;
        at += 1 + length;
        return bytes.mid(at - length, length);
    };
    ts::BinaryCharacter out;
    out.skeletons = u32();
    out.suits = u32();
    out.name = string();
    out.type = u32();
    out.second = u32();
    for (quint32 k = u32(); k > 0 && at < bytes.size(); --k)
        out.skins.append(ts::BinarySkin{string(), string(), u32(), u32()});
    out.skills = u32();
    out.skeletons = at == bytes.size() ? out.skeletons : ~0u;
    return out;
}

} // namespace

// Files laid out as the game installs them: an archive of the expansions beside
// GameData, whose Skins folder holds the loose files that replace the archive's.
class AttachFromFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(dir.path()).mkpath("Game/ExpansionShared"));
        ASSERT_TRUE(QDir(dir.path()).mkpath("Game/GameData/Skins"));
        ASSERT_TRUE(ts::writeFile(archive, ts::farArchive({{"Skins\\B001FAFit_01.cmx.bcf", body},
                                                           {"Skins\\glasses.bmf", glasses}})));
    }
    QString loose(const QString &name, const QByteArray &bytes)
    {
        return ts::writeFile(dir.filePath(name), bytes) ? dir.filePath(name) : QString();
    }
    static std::string bodyWith(const QByteArray &name, const ts::BinarySkin &skin)
    {
        ts::BinaryCharacter expected = kBody;
        expected.name = name;
        expected.skins.append(skin);
        return shown(expected);
    }

    QTemporaryDir dir;
    const QString archive = dir.filePath("Game/ExpansionShared/ExpansionShared.far");
    const QByteArray body = ts::binaryCharacterFile(kBody);
    const QByteArray glasses = ts::binaryMeshFile("glasses", "glasses-tex", {"HEAD", "NECK"});
};

TEST_F(AttachFromFiles, BinaryEntriesOfAnArchiveGiveABinaryFileInGameDataSkins)
{
    const QString folder = proposedOutputFolder(archive + "/Skins");
    EXPECT_EQ(QDir::fromNativeSeparators(folder), dir.filePath("Game/GameData/Skins"));
    const Result<AttachPlan> prepared =
        prepareAttachment({archive + "/Skins/B001FAFit_01.cmx.bcf", archive + "/skins/GLASSES.bmf",
                           "B001FAFit_new", folder});
    ASSERT_TRUE(prepared.ok()) << errorOf(prepared);
    const Result<CreatedFile> created = carryOut(prepared.value());
    ASSERT_TRUE(created.ok()) << errorOf(created);
    EXPECT_EQ(QDir::fromNativeSeparators(created.value().path),
              dir.filePath("Game/GameData/Skins/B001FAFit_new.cmx.bcf"));
    EXPECT_EQ(shown(parsedBinary(ts::readFile(created.value().path))),
              bodyWith("B001FAFit_new", {"HEAD", "glasses"}));

    const Result<AttachPlan> intoArchive =
        prepareAttachment({archive + "/Skins/B001FAFit_01.cmx.bcf", archive + "/Skins/glasses.bmf",
                           "B001FAFit_new", archive + "/Skins"});
    EXPECT_TRUE(says(errorOf(intoArchive), "nothing is ever written into an archive"));
}

TEST_F(AttachFromFiles, OutputTakesTheCharacterFilesFormatWhateverTheMeshsFormat)
{
    const QString textBody = loose("body.cmx", ts::characterFile({{"PELVIS", "body"}}));
    const Result<Composed> text = composeFromFiles(textBody, archive + "/Skins/glasses.bmf", "t");
    ASSERT_TRUE(text.ok()) << errorOf(text);
    EXPECT_EQ(text.value().format, CharacterFormat::Text);
    EXPECT_TRUE(text.value().bytes.endsWith("\r\n2\r\nPELVIS\r\nbody\r\n0\r\n0\r\n"
                                            "HEAD\r\nglasses\r\n0\r\n0\r\n0\r\n"));

    const Result<AttachPlan> binary = prepareAttachment(
        {loose("b.cmx.bcf", body), loose("hat.skn", ts::meshFile("hat", "HEAD")), "b", dir.path()});
    ASSERT_TRUE(binary.ok()) << errorOf(binary);
    EXPECT_EQ(binary.value().outputPath, QDir::toNativeSeparators(dir.filePath("b.cmx.bcf")));
    EXPECT_EQ(shown(parsedBinary(binary.value().bytes)), bodyWith("b", {"HEAD", "hat"}));
}
