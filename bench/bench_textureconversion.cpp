// Converting a downloaded texture for the game: a 24-bit BMP of 1,024 x 1,024
// pixels (a picture of many colours, four times the side the game draws) read,
// reduced to 256 colours and dithered, and written as an 8-bit BMP. Target: at
// most 100 ms.
#include "preview/colourreduction.h"
#include "preview/textureconversion.h"

#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kSide = 1024;

// Smooth gradients in three directions with a ripple over them, as a painted
// texture has, in far more than 256 colours.
QImage picture()
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    for (int y = 0; y < kSide; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < kSide; ++x) {
            const int ripple = int(24 * std::sin(x / 37.0) * std::cos(y / 23.0));
            row[x] = qRgb(std::clamp(x / 4 + ripple, 0, 255), std::clamp(y / 4 - ripple, 0, 255),
                          (x + y) / 8);
        }
    }
    return image;
}

void BM_ConvertTextureFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texture.bmp"));
    if (!picture().save(path, "BMP"))
        state.SkipWithError("cannot write the picture");
    for (auto _ : state) {
        const kelvane::Result<QByteArray> converted = kelvane::texture256ColoursOf(path);
        if (!converted.ok())
            state.SkipWithError(qPrintable(converted.error()));
    }
}
BENCHMARK(BM_ConvertTextureFile)->Unit(benchmark::kMillisecond);

// The colours alone: the palette and the dithering over it.
void BM_ReduceColours(benchmark::State &state)
{
    const QImage image = picture();
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvane::in256Colours(image).constBits());
}
BENCHMARK(BM_ReduceColours)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
