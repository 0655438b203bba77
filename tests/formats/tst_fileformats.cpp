#include "formats/binarycharacter.h"
#include "formats/characterformat.h"
#include "formats/fileformats.h"
#include "formats/meshfile.h"
#include "formats/textcharacter.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"

#include <QDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace kelvane;
namespace ts = testsupport;

namespace {

// A 2 x 2 uncompressed true-colour TGA: an 18-byte header, then the pixels.
QByteArray tgaFile()
{
    QByteArray tga(18, '\0');
    tga[2] = 2;
    qToLittleEndian<quint16>(2, tga.data() + 12);
    qToLittleEndian<quint16>(2, tga.data() + 14);
    tga[16] = 24;
    return tga + QByteArray(2 * 2 * 3, '\x40');
}

const FileFormat *kindOf(const QByteArray &bytes)
{
    return formatOf(bytes.left(kRecognitionBytes), bytes.size());
}

} // namespace

// Every entry is found by its role and encoding, and the character and mesh
// formats' own entries are those that recognise files of those formats.
TEST(FileFormats, EachRoleAndEncodingNamesItsOwnEntry)
{
    for (const FileFormat &format : fileFormats())
        EXPECT_EQ(&formatFor(format.role, format.encoding), &format) << format.extension.data();

    const QByteArray binary = ts::binaryCharacterFile({"B001FAFit_01", 0, 0, {{"HEAD", "x"}}});
    const QByteArray text = ts::characterFile({{"HEAD", "x"}});
    EXPECT_EQ(kindOf(binary), &formatFor(CharacterFormat::Binary));
    EXPECT_EQ(kindOf(text), &formatFor(CharacterFormat::Text));
    EXPECT_EQ(kindOf(ts::binaryMeshFile("hat", "hat", {"HEAD"})), &formatFor(MeshFormat::Binary));
    EXPECT_EQ(kindOf(ts::meshFile("hat", "HEAD")), &formatFor(MeshFormat::Text));
}

// A texture is told by its content, a TGA (which has no signature) by its
// name as well; the game's own files are never taken for pictures.
TEST(FileFormats, TexturesAreToldByContentAndATgaByItsName)
{
    const QByteArray bmp = ts::bmpFile(Qt::red);
    ASSERT_EQ(kindOf(bmp), &gameTextureFormat());
    ASSERT_EQ(kindOf(tgaFile()), &formatFor(FileRole::Texture, Encoding::TgaPicture));
    const FileFormat &tga = formatFor(FileRole::Texture, Encoding::TgaPicture);

    EXPECT_EQ(textureFormatOf("x.TGA", bmp, bmp.size()), &gameTextureFormat());
    EXPECT_EQ(textureFormatOf("x.tga", tgaFile(), tgaFile().size()), &tga);
    EXPECT_EQ(textureFormatOf("x.TGA", "not a picture", 13), &tga);
    EXPECT_EQ(textureFormatOf("x.bmp", "not a picture", 13), nullptr);

    EXPECT_EQ(formatNamed("B001.cmx.BCF", FileRole::Character),
              &formatFor(CharacterFormat::Binary));
    EXPECT_EQ(formatNamed("hat.Tga", FileRole::Texture), &tga);
    EXPECT_EQ(formatNamed("hat.bmp.txt", FileRole::Texture), nullptr);
}

// A file no entry recognises is read by the reader of the encoding its first
// bytes show, whose fault says what is wrong.
TEST(FileFormats, UnrecognisedFilesAreReadByTheirEncodingsReader)
{
    const QByteArray binary =
        ts::binaryCharacterFile({"B001FAFit_01", 0, 0, {{"HEAD", "x"}}}).left(10);
    const QByteArray text = "// a heading\r\nno version line\r\n";
    ASSERT_FALSE(characterOf(binary).ok());
    EXPECT_EQ(characterOf(binary).error(), binaryCharacterOf(binary).error());
    ASSERT_FALSE(characterOf(text).ok());
    EXPECT_EQ(characterOf(text).error(), textCharacterOf(splitCharacterFile(text)).error());

    const QByteArray noMesh = QByteArray("\x03hat\0", 5);
    ASSERT_FALSE(meshOf(noMesh, noMesh.size()).ok());
    EXPECT_EQ(meshOf(noMesh, noMesh.size()).error(), binaryMeshOf(noMesh, noMesh.size()).error());
    EXPECT_EQ(meshOf(text, text.size()).error(), textMeshOf(text, text.size()).error());
}
