#include "preview/textureimage.h"

#include "base/messagetext.h"
#include "inputs/inputfiles.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace kelvane {

namespace {

bool isTga(const QString &path)
{
    return path.endsWith(QLatin1StringView(".tga"), Qt::CaseInsensitive);
}

Result<QImage> pictureFrom(QImageReader &reader, const QString &path)
{
    if (isTga(path) && !QImageReader::supportedImageFormats().contains("tga"))
        return Failure{inputFileFault(path, QStringLiteral("a TGA picture, which this copy of "
                                                           "Kelvane cannot read."))};
    QImage image = reader.read();
    if (image.isNull())
        return Failure{inputFileFault(
            path,
            QStringLiteral("not a picture that can be read (%1).").arg(reader.errorString()))};
    return image;
}

} // namespace

Result<QImage> readTextureFile(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    if (!input.value().archive) {
        // Only a regular file, so that opening it never waits on a device or pipe.
        const QFileInfo info(path);
        if (!info.isFile())
            return Failure{inputFileFault(path, QStringLiteral("not a regular file."))};
        if (info.size() > kTextureBytesRead)
            return Failure{inputFileFault(path, QStringLiteral("too large for a texture."))};
        QImageReader reader(path);
        return pictureFrom(reader, path);
    }
    const FarEntry &entry = input.value().entry;
    if (entry.size > kTextureBytesRead)
        return Failure{inputFileFault(path, QStringLiteral("too large for a texture."))};
    Result<QByteArray> read = input.value().archive->readEntry(entry, entry.size);
    if (!read.ok())
        return Failure{read.error()};
    QByteArray bytes = std::move(read).value();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // A TGA has no signature: its name tells it.
    QImageReader reader(&buffer, isTga(path) ? QByteArray("tga") : QByteArray());
    return pictureFrom(reader, path);
}

} // namespace kelvane
