#include "formats/textureheader.h"

#include <QFile>
#include <QtEndian>

namespace kelvane {

TextureRead readTextureHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("cannot be read (%1)").arg(file.errorString())};
    // The file header (14 bytes), then the info header: its size tells its kind.
    const QByteArray header = file.read(30);
    if (header.size() < 18 || !header.startsWith("BM"))
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
