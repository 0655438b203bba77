#include "ui/look/look.h"

#include <QByteArrayView>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QResource>

namespace kelvane {

namespace {

constexpr QSize pictureSize(597, 400);
constexpr QByteArrayView pictureHeader("P6\n597 400\n255\n");

} // namespace

QImage backgroundPicture()
{
    // Kept uncompressed, the bitmap is read where the program's binary holds
    // it: no copy, no decoding, no painting at start-up.
    const QString file = QStringLiteral(":/kelvane/picture/kelvane-picture.ppm");
    const QResource resource(file);
    const qsizetype bytesPerLine = qsizetype(pictureSize.width()) * 3;
    const QByteArrayView bytes(resource.data(), resource.size());
    if (resource.compressionAlgorithm() == QResource::NoCompression &&
        bytes.size() == pictureHeader.size() + bytesPerLine * pictureSize.height() &&
        bytes.startsWith(pictureHeader)) {
        return QImage(resource.data() + pictureHeader.size(), pictureSize.width(),
                      pictureSize.height(), bytesPerLine, QImage::Format_RGB888);
    }
    return QImage(file, "ppm");
}

QIcon appIcon()
{
    // Read as PNG outright: guessing the format would load every image plug-in.
    QImageReader reader(QStringLiteral(":/kelvane/icons/kelvane.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

} // namespace kelvane
