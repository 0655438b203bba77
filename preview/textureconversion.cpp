#include "preview/textureconversion.h"

#include "compose/messagetext.h"

#include <QDir>
#include <QImage>
#include <QImageReader>

#include <algorithm>

namespace kelvane {

namespace {

// A palette of up to 256 colours for the pixels, by median cut: the box of
// pixels spanning the widest range of one channel is split at its median
// until there are 256 boxes; each box gives its mean colour.
QList<QRgb> medianCutPalette(QList<QRgb> pixels)
{
    struct Box {
        qsizetype begin;
        qsizetype end;
    };
    const auto channel = [](QRgb pixel, int c) {
        return c == 0 ? qRed(pixel) : c == 1 ? qGreen(pixel) : qBlue(pixel);
    };
    // The channel of widest range in a box, and that range.
    const auto widest = [&](const Box &box) {
        std::pair<int, int> best{0, -1};
        for (int c = 0; c < 3; ++c) {
            const auto [low, high] =
                std::minmax_element(pixels.begin() + box.begin, pixels.begin() + box.end,
                                    [&](QRgb a, QRgb b) { return channel(a, c) < channel(b, c); });
            if (const int range = channel(*high, c) - channel(*low, c); range > best.second)
                best = {c, range};
        }
        return best;
    };
    // Each box with the channel it spans widest and that span, measured once.
    QList<std::pair<Box, std::pair<int, int>>> boxes;
    const auto addBox = [&](Box box) { boxes.append({box, widest(box)}); };
    addBox({0, pixels.size()});
    while (boxes.size() < 256) {
        const auto split = std::max_element(boxes.begin(), boxes.end(), [](auto &a, auto &b) {
            return a.second.second < b.second.second;
        });
        if (split->second.second <= 0)
            break;
        const Box box = split->first;
        const int on = split->second.first;
        const qsizetype middle = box.begin + (box.end - box.begin) / 2;
        std::nth_element(pixels.begin() + box.begin, pixels.begin() + middle,
                         pixels.begin() + box.end,
                         [&](QRgb a, QRgb b) { return channel(a, on) < channel(b, on); });
        boxes.erase(split);
        addBox({box.begin, middle});
        addBox({middle, box.end});
    }
    QList<QRgb> palette;
    for (const auto &[box, span] : std::as_const(boxes)) {
        qint64 sum[3] = {0, 0, 0};
        for (qsizetype i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c)
                sum[c] += channel(pixels[i], c);
        }
        const qint64 count = std::max<qint64>(1, box.end - box.begin);
        palette.append(qRgb(int(sum[0] / count), int(sum[1] / count), int(sum[2] / count)));
    }
    return palette;
}

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
    QImageReader reader(path, "bmp");
    const QImage read = reader.read();
    if (read.isNull())
        return Failure{QStringLiteral("%1: the picture cannot be read (%2).")
                           .arg(shownName(QDir::toNativeSeparators(path)), reader.errorString())};
    // The game draws no transparency: the picture is flattened first. A
    // picture of up to 256 colours keeps them exactly; one of more gets the
    // palette that fits its own colours best.
    const QImage flat = read.convertToFormat(QImage::Format_RGB32);
    QList<QRgb> pixels;
    pixels.reserve(qsizetype(flat.width()) * flat.height());
    for (int y = 0; y < flat.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(flat.constScanLine(y));
        pixels.append(QList<QRgb>(row, row + flat.width()));
    }
    QList<QRgb> distinct = pixels;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    const QImage indexed =
        distinct.size() <= 256
            ? flat.convertToFormat(QImage::Format_Indexed8, distinct)
            : flat.convertToFormat(QImage::Format_Indexed8, medianCutPalette(std::move(pixels)),
                                   Qt::DiffuseDither);
    return indexedBmpBytes(indexed);
}

} // namespace kelvane
