#include "preview/textureconversion.h"

#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "inputs/inputfiles.h"
#include "inputs/texturefiles.h"
#include "preview/colourreduction.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace kelvane {

namespace {

void appendLittleEndian(QByteArray &bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

} // namespace

QByteArray indexedBmpBytes(const QImage &image)
{
    constexpr quint32 kHeaders = 14 + 40;
    constexpr quint32 kPalette = 256 * 4;
    const auto width = quint32(image.width());
    const auto height = quint32(image.height());
    const quint32 rowBytes = (width + 3) & ~3u;
    QByteArray bytes;
    bytes.reserve(int(kHeaders + kPalette + rowBytes * height));
    bytes.append("BM");
    appendLittleEndian(bytes, kHeaders + kPalette + rowBytes * height, 4);
    appendLittleEndian(bytes, 0, 4);
    appendLittleEndian(bytes, kHeaders + kPalette, 4);
    appendLittleEndian(bytes, 40, 4);
    appendLittleEndian(bytes, width, 4);
    appendLittleEndian(bytes, height, 4);
    appendLittleEndian(bytes, 1, 2); // planes
    appendLittleEndian(bytes, 8, 2); // bits per pixel
    appendLittleEndian(bytes, 0, 4); // no compression
    appendLittleEndian(bytes, rowBytes * height, 4);
    appendLittleEndian(bytes, 2835, 4); // 72 dots per inch
    appendLittleEndian(bytes, 2835, 4);
    appendLittleEndian(bytes, 256, 4); // colours used
    appendLittleEndian(bytes, 0, 4);
    const QList<QRgb> colours = image.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = colours.value(i, qRgb(0, 0, 0));
        bytes.append(char(qBlue(colour)));
        bytes.append(char(qGreen(colour)));
        bytes.append(char(qRed(colour)));
        bytes.append('\0');
    }
    for (int y = int(height) - 1; y >= 0; --y) {
        bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), int(width));
        bytes.append(QByteArray(int(rowBytes - width), '\0'));
    }
    return bytes;
}

Result<QByteArray> texture256ColoursOf(const QString &path)
{
    const QString shown = shownName(QDir::toNativeSeparators(path));
    // The header first, so that a picture too large is refused undecoded.
    const TextureRead header = readTextureHeader(path);
    if (!header.header)
        return Failure{
            QStringLiteral("%1: the picture cannot be read (it %2).").arg(shown, header.fault)};
    if (tooLargeToConvert(*header.header))
        return Failure{QStringLiteral("%1: not a texture the game can use (%2 x %3 pixels, where "
                                      "the game draws at most 256 x 256).")
                           .arg(shown)
                           .arg(header.header->width)
                           .arg(header.header->height)};
    QFile file;
    if (const Result<void> opened = openRegularFileUnnamed(file, path); !opened.ok())
        return Failure{
            QStringLiteral("%1: the picture cannot be read (%2).").arg(shown, opened.error())};
    QImageReader reader(&file, gameTextureFormat().imageFormat);
    const QImage read = reader.read();
    if (read.isNull())
        return Failure{QStringLiteral("%1: the picture cannot be read (%2).")
                           .arg(shown, reader.errorString())};
    return indexedBmpBytes(in256Colours(read));
}

} // namespace kelvane
