#include "formats/binarycharacter.h"
#include "formats/characterformat.h"
#include "formats/fararchive.h"
#include "formats/meshfile.h"
#include "formats/textcharacter.h"
#include "tests/support/composeattached.h"
#include "tests/support/files.h"
#include "tests/support/results.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace kelvane;
namespace ts = testsupport;
using ts::errorOf;
using ts::kBody;
using ts::says;
using ts::shown;

namespace {

ts::BinaryCharacter given(const Character &c)
{
    ts::BinaryCharacter out{c.name, c.type, c.second, {}};
    for (const Skin &skin : c.skins)
        out.skins.append({skin.bone, skin.mesh, skin.censorFlags, skin.second});
    return out;
}

QByteArray patched(QByteArray bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

Result<FarArchive> archiveOf(QByteArray bytes)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    return FarArchive::read(device, QStringLiteral("a.far"));
}

} // namespace

TEST(CharacterModel, TextThroughTheModelGivesTheComposersBytes)
{
    const LineList mesh = splitLines(ts::meshFile("hat", "HEAD"));
    for (const QByteArray &file :
         {ts::characterFile({}), ts::characterFile({{"PELVIS", "body"}, {" SPINE2 ", "spine\t"}}),
          ts::characterFile({{"A", "a"}}, "\n"), ts::characterFile({{"b\xe9\xff", "m\x01\x7f"}})}) {
        const ComposeResult composed = ComposeAttachedCmx(splitLines(file), mesh, "B001FAFit_new");
        ASSERT_TRUE(composed.ok());
        const QByteArray expected = composed.value() + "\r\n";
        for (const QByteArray &read : {file, expected}) {
            Character character = characterOf(read).value();
            character.name = "B001FAFit_new";
            if (read == file)
                character.skins.append(Skin{"HEAD", "hat"});
            EXPECT_EQ(fileBytesOf(character), expected) << file.data();
        }
    }
}

TEST(BinaryCharacter, ReadKeepsEveryNumberAndWritesTheSameBytes)
{
    const ts::BinaryCharacter longNames{QByteArray(255, 'n'), 0, 1, {{QByteArray(255, 'b'), "é"}}};
    for (const ts::BinaryCharacter &file : {kBody, longNames, ts::BinaryCharacter{}}) {
        const QByteArray bytes = ts::binaryCharacterFile(file);
        const Result<Character> read = characterOf(bytes);
        ASSERT_TRUE(read.ok()) << errorOf(read);
        EXPECT_EQ(read.value().format, CharacterFormat::Binary);
        EXPECT_EQ(shown(given(read.value())), shown(file));
        EXPECT_EQ(fileBytesOf(read.value()), bytes);
    }
}

TEST(BinaryCharacter, RefusesOtherFilesAndDamageSayingWhy)
{
    const QByteArray body = ts::binaryCharacterFile(kBody);
    const qsizetype skinCount = 4 + 4 + 13 + 4 + 4;
    const struct {
        QByteArray bytes;
        const char *saying;
    } rows[] = {
        {patched(body, 0, 1), "looks like a skeleton file"},
        {patched(body, 4, 0), "looks like an animation file"},
        {patched(body, 4, 2), "holds 2 outfits; a file with several outfits"},
        {patched(body, body.size() - 4, 1), "holds 1 skill besides its outfit"},
        {body + '\0', "1 bytes follow the end of the character"},
        {patched(body, skinCount, 4000000000u), "gives 4000000000 skins"},
        {patched(body, skinCount, 1000), "gives 1000 skins, but only 61 bytes follow"},
    };
    for (const auto &row : rows) {
        EXPECT_TRUE(says(errorOf(characterOf(row.bytes)), row.saying));
    }
    for (qsizetype cut = 0; cut < body.size(); ++cut)
        EXPECT_TRUE(says(errorOf(binaryCharacterOf(body.first(cut))), "cut short")) << cut;
}

TEST(BinaryMesh, ReadsNamesAndBonesFromWhatWasReadWithinTheFilesSize)
{
    const QByteArray mesh = ts::binaryMeshFile("glasses", "glasses-tex", {"HEAD", "NECK"});
    const QByteArray hugeCount = patched(mesh, 20, 0xffffffffu);
    const struct {
        QByteArray start;
        qint64 fileSize;
        QList<QByteArray> bones; // none when refused
    } rows[] = {
        {mesh, mesh.size(), {"HEAD", "NECK"}},
        {mesh.first(30), mesh.size(), {"HEAD"}}, // the second bone beyond what was read
        {mesh.first(28), 28, {}},
        {mesh.first(20), mesh.size(), {}},
        {hugeCount, hugeCount.size(), {}},
        {hugeCount, qint64(1) << 40, {"HEAD", "NECK"}},
        {ts::binaryMeshFile("glasses", "glasses-tex", {}), 400, {}},
        {ts::binaryMeshFile("", "glasses-tex", {"HEAD"}), 400, {}},
        {ts::binaryMeshFile("glasses", "glasses-tex", {"\x1b"}), 400, {}},
    };
    for (const auto &row : rows) {
        const Result<Mesh> read = meshOf(row.start, row.fileSize);
        EXPECT_EQ(read.ok() ? read.value().bones : QList<QByteArray>(), row.bones)
            << row.start.size() << ": " << errorOf(read);
        if (read.ok()) {
            EXPECT_EQ(read.value().format, MeshFormat::Binary);
            EXPECT_EQ(read.value().texture, "glasses-tex");
            EXPECT_EQ(read.value().skin().bone + '|' + read.value().skin().mesh, "HEAD|glasses");
        }
    }
    EXPECT_TRUE(says(errorOf(meshOf(mesh.first(24), 24)), "nor a binary mesh"));
}

TEST(FarArchiveRead, ListsEntriesWithSlashesAndFindsThemInAnyCase)
{
    const Result<FarArchive> archive = archiveOf(ts::farArchive(
        {{"Skins\\x.cmx.bcf", "body"}, {"readme.txt", ""}, {"Meshes\\Hats\\h.bmf", "hat!"}}));
    ASSERT_TRUE(archive.ok()) << errorOf(archive);
    QStringList names;
    for (const FarEntry &entry : archive.value().entries())
        names << entry.name;
    EXPECT_EQ(names, QStringList({"Skins/x.cmx.bcf", "readme.txt", "Meshes/Hats/h.bmf"}));
    for (const char *name : {"skins/X.CMX.BCF", "SKINS\\x.cmx.bcf"})
        EXPECT_EQ(archive.value().find(name), &archive.value().entries()[0]);
    EXPECT_EQ(archive.value().find("x.cmx.bcf"), nullptr);
    EXPECT_EQ(archive.value().entries()[2].offset, 16 + 4);
    EXPECT_EQ(archive.value().entries()[2].size, 4);
}

TEST(FarArchiveRead, RefusesOtherVersionsAndDamagedManifestsSayingWhy)
{
    const QByteArray good = ts::farArchive({{"Skins\\a.cmx", "0123456789"}, {"%2", "0123456789"}});
    const qsizetype manifest = 36;
    const qsizetype second = manifest + 4 + 16 + 11; // the second entry's sizes and offset
    const struct {
        QList<std::pair<qsizetype, quint32>> patches;
        qsizetype kept;
        const char *saying;
    } rows[] = {
        {{{8, 3}}, 85, "a.far: this is a FAR archive of version 3"},
        {{{8, 2}}, 85, "a.far: this FAR archive has version 2"},
        {{{0, 0}}, 85, "a.far: this is not a FAR archive"},
        {{}, 14, "a.far: the archive ends within its heading"},
        {{{12, 85}}, 85, "said to begin at byte 85, but the archive holds 85 bytes"},
        {{{manifest, 1000}}, 85, "it gives 1000 entries, more than"},
        {{}, 84, "ends within entry 2 of 2"},
        {{{second, 11}, {second + 4, 11}},
         85,
         "entry %2 lies beyond the files' bytes (bytes 26 to 37, of 36)"},
        {{{second + 8, 20}}, 85, "entry Skins/a.cmx and entry %2 overlap"},
        {{{second + 4, 11}}, 85, "entry %2 gives two different sizes (10 and 11)"},
    };
    for (const auto &row : rows) {
        QByteArray bytes = good.first(row.kept);
        for (const auto &[at, value] : row.patches)
            bytes = patched(bytes, at, value);
        EXPECT_TRUE(says(errorOf(archiveOf(bytes)), row.saying));
    }
    const QList<ts::ArchivedFile> files = {{"Skins\\a.cmx", "0123456789"}};
    EXPECT_TRUE(says(errorOf(archiveOf(ts::farArchive(files, 1, 2))),
                     "a.far: this is a FAR archive "
                     "of version 1b"));
    EXPECT_EQ(errorOf(archiveOf(ts::farArchive({}))), "(none)");
}
