#include "formats/textureheader.h"

#include <QtEndian>

namespace kelvane {

bool looksLikeBmpPicture(const QByteArray &start)
{
    return start.startsWith("BM");
}

bool looksLikeTgaPicture(const QByteArray &start)
{
    if (start.size() < 18)
        return false;
    const auto byte = [&start](int at) { return quint8(start[at]); };
    const int mapKind = byte(1);
    const int pictureKind = byte(2);
    const int bits = byte(16);
    const bool knownKind = pictureKind == 2 || pictureKind == 3 || pictureKind == 10 ||
                           pictureKind == 11 ||
                           (mapKind == 1 && (pictureKind == 1 || pictureKind == 9));
    const bool knownBits = bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
    return mapKind <= 1 && knownKind && knownBits &&
           qFromLittleEndian<quint16>(start.constData() + 12) != 0 &&
           qFromLittleEndian<quint16>(start.constData() + 14) != 0;
}

TextureRead textureHeaderOf(const QByteArray &start)
{
    // The file header (14 bytes), then the info header: its size tells its kind.
    const QByteArray header = start.left(kTextureHeaderBytes);
    if (header.size() < 18 || !looksLikeBmpPicture(header))
        return {std::nullopt, QStringLiteral("is not a BMP picture")};
    const char *data = header.constData();
    const quint32 infoSize = qFromLittleEndian<quint32>(data + 14);
    if (infoSize == 12 && header.size() >= 26) {
        // The OS/2 core header: 16-bit width and height, planes, bit count.
        return {TextureHeader{qFromLittleEndian<quint16>(data + 24),
                              qFromLittleEndian<quint16>(data + 18),
                              qFromLittleEndian<quint16>(data + 20)},
                {}};
    }
    // Any other is taken for the Windows info header or a later one, which
    // share their first 16 bytes.
    if (header.size() < 30)
        return {std::nullopt, QStringLiteral("is not a BMP picture")};
    // A negative height marks rows stored top down; the sizes are widened
    // first, so that the most negative is measured too.
    return {TextureHeader{qFromLittleEndian<quint16>(data + 28),
                          qAbs(qint64(qFromLittleEndian<qint32>(data + 18))),
                          qAbs(qint64(qFromLittleEndian<qint32>(data + 22)))},
            {}};
}

std::optional<QString> colourFault(const TextureHeader &header)
{
    if (header.bitsPerPixel == 8)
        return std::nullopt;
    return QStringLiteral("has %1 %2 per pixel, not 8 (256 colours)")
        .arg(QString::number(header.bitsPerPixel),
             header.bitsPerPixel == 1 ? QStringLiteral("bit") : QStringLiteral("bits"));
}

std::optional<QString> sizeFault(const TextureHeader &header)
{
    const bool gameSide =
        header.width == 32 || header.width == 64 || header.width == 128 || header.width == 256;
    if (gameSide && header.width == header.height)
        return std::nullopt;
    return QStringLiteral("is %1 x %2 pixels, where the game draws squares of 32, 64, 128 or 256 "
                          "pixels on a side")
        .arg(header.width)
        .arg(header.height);
}

bool tooLargeToConvert(const TextureHeader &header)
{
    return header.width > kLongestConvertedSide || header.height > kLongestConvertedSide;
}

} // namespace kelvane
