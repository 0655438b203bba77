#include "preview/colourreduction.h"
#include "preview/textureconversion.h"
#include "tests/support/files.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <array>

using namespace kelvane;

namespace {

std::array<double, 3> meanColour(const QImage &image)
{
    std::array<double, 3> sum{};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sum[0] += qRed(pixel);
            sum[1] += qGreen(pixel);
            sum[2] += qBlue(pixel);
        }
    }
    for (double &channel : sum)
        channel /= double(image.width()) * image.height();
    return sum;
}

int squaredDistance(QRgb a, QRgb b)
{
    const auto square = [](int v) { return v * v; };
    return square(qRed(a) - qRed(b)) + square(qGreen(a) - qGreen(b)) + square(qBlue(a) - qBlue(b));
}

} // namespace

// A gradient of 65,536 colours is dithered over its palette: many pixels take
// another colour than the nearest, and the picture keeps its mean colour.
TEST(ColourReduction, GradientsAreDitheredKeepingTheirMeanColour)
{
    QImage gradient(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            gradient.setPixel(x, y, qRgb(x, y, 96));
    const QImage reduced = in256Colours(gradient);
    ASSERT_EQ(reduced.format(), QImage::Format_Indexed8);
    ASSERT_EQ(reduced.size(), gradient.size());
    const QList<QRgb> palette = reduced.colorTable();
    EXPECT_LE(palette.size(), 256);
    int differing = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb wanted = gradient.pixel(x, y);
            const QRgb nearest =
                *std::min_element(palette.cbegin(), palette.cend(), [&](QRgb a, QRgb b) {
                    return squaredDistance(a, wanted) < squaredDistance(b, wanted);
                });
            differing +=
                squaredDistance(reduced.pixel(x, y), wanted) > squaredDistance(nearest, wanted);
        }
    }
    EXPECT_GT(differing, 256 * 256 / 4);
    const std::array<double, 3> before = meanColour(gradient);
    const std::array<double, 3> after = meanColour(reduced);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(after[c], before[c], 0.5) << "channel " << c;
    EXPECT_EQ(in256Colours(gradient), reduced) << "the same picture gives the same bytes";
}

// A picture of few colours keeps each exactly.
TEST(ColourReduction, FewColoursAreKeptExactly)
{
    QImage picture(40, 30, QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, qRgb(x / 5 * 30, y / 10 * 80, (x * y) % 7 ? 10 : 250));
    const QImage reduced = in256Colours(picture);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(reduced.pixel(x, y), picture.pixel(x, y)) << x << "," << y;
}

// A picture larger than any texture is refused from its header, undecoded.
TEST(TextureConversion, PicturesFarTooLargeAreRefusedFromTheirHeader)
{
    QTemporaryDir dir;
    QByteArray header = "BM" + QByteArray(52, '\0');
    qToLittleEndian<quint32>(40, header.data() + 14);
    qToLittleEndian<qint32>(5790, header.data() + 18);
    qToLittleEndian<qint32>(-5790, header.data() + 22);
    qToLittleEndian<quint16>(24, header.data() + 28);
    ASSERT_TRUE(testsupport::writeFile(dir.filePath("huge.bmp"), header));
    const Result<QByteArray> converted = texture256ColoursOf(dir.filePath("huge.bmp"));
    ASSERT_FALSE(converted.ok());
    EXPECT_TRUE(converted.error().contains("not a texture the game can use (5790 x 5790 pixels"))
        << converted.error().toStdString();
}
