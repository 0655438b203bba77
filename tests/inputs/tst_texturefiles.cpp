#include "formats/textureheader.h"
#include "inputs/texturefiles.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <limits>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace kelvane;
namespace ts = testsupport;
using ts::bmpHeader;

// The header's sizes are measured whatever their sign, and an OS/2 header is
// read at its own offsets.
TEST(TextureHeader, SizesAndHeaderKindsAreReadAsWritten)
{
    QTemporaryDir dir;
    const auto read = [&dir](const QByteArray &bytes) {
        EXPECT_TRUE(testsupport::writeFile(dir.filePath("t.bmp"), bytes));
        return readTextureHeader(dir.filePath("t.bmp"));
    };
    const TextureRead tall = read(bmpHeader(8, 64, std::numeric_limits<qint32>::min()));
    ASSERT_TRUE(tall.header) << tall.fault.toStdString();
    EXPECT_EQ(tall.header->height, 2147483648);
    EXPECT_TRUE(tooLargeToConvert(*tall.header));
    EXPECT_FALSE(tooLargeToConvert({8, 4096, 4096}));
    EXPECT_TRUE(tooLargeToConvert({8, 4097, 32}));

    QByteArray core = "BM" + QByteArray(24, '\0');
    qToLittleEndian<quint32>(12, core.data() + 14);
    for (const auto &[at, value] : {std::pair{18, 64}, {20, 64}, {22, 1}, {24, 8}})
        qToLittleEndian<quint16>(quint16(value), core.data() + at);
    const TextureRead os2 = read(core);
    ASSERT_TRUE(os2.header) << os2.fault.toStdString();
    EXPECT_EQ(os2.header->bitsPerPixel, 8);
    EXPECT_FALSE(sizeFault(*os2.header)) << sizeFault(*os2.header)->toStdString();
}

// A texture is opened only when it is a regular file: a pipe under a
// texture's name is refused at once, where opening it would wait.
TEST(TextureFiles, HeadersAreReadOnlyFromRegularFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(ts::writeFile(dir.filePath("hat.bmp"), ts::bmpFile(Qt::red)));
    const TextureRead read = readTextureHeader(dir.filePath("hat.bmp"));
    ASSERT_TRUE(read.header) << read.fault.toStdString();
    EXPECT_EQ(read.header->width, 8);
    EXPECT_TRUE(holdsGameTexture(dir.filePath("hat.bmp")));
#ifdef Q_OS_UNIX
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.bmp")).constData(), 0600), 0);
    const TextureRead pipe = readTextureHeader(dir.filePath("pipe.bmp"));
    EXPECT_FALSE(pipe.header);
    EXPECT_TRUE(pipe.fault.startsWith("cannot be read (")) << pipe.fault.toStdString();
    EXPECT_FALSE(holdsGameTexture(dir.filePath("pipe.bmp")));
#endif
}
