#include "compose/texturefile.h"

#include <QFile>
#include <QtEndian>

#include <cstdlib>

namespace kelvane {

TextureRead readTextureHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("cannot be read (%1)").arg(file.errorString())};
    // The file header (14 bytes) and the info header's size, width, height,
    // planes and bit count.
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM"))
        return {std::nullopt, QStringLiteral("is not a BMP picture")};
    const char *data = header.constData();
    // A negative height marks rows stored top down.
    return {TextureHeader{qFromLittleEndian<quint16>(data + 28),
                          std::abs(qFromLittleEndian<qint32>(data + 18)),
                          std::abs(qFromLittleEndian<qint32>(data + 22))},
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

} // namespace kelvane
