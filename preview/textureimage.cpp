#include "preview/textureimage.h"

#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "inputs/inputfiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace kelvane {

namespace {

Result<QImage> pictureFrom(QIODevice &device, const QString &path, const QByteArray &start,
                           qint64 size)
{
    // A kind without a signature (a TGA) is told by the file's name.
    const FileFormat *format = textureFormatOf(path, start, size);
    const QByteArray decoder = format ? QByteArray(format->imageFormat) : QByteArray();
    if (!decoder.isEmpty() && !QImageReader::supportedImageFormats().contains(decoder))
        return Failure{inputFileFault(path, QStringLiteral("%1, which this copy of Kelvane "
                                                           "cannot read.")
                                                .arg(QString(format->description)))};
    QImageReader reader(&device, decoder);
    QImage image = reader.read();
    if (image.isNull())
        return Failure{inputFileFault(
            path,
            QStringLiteral("not a picture that can be read (%1).").arg(reader.errorString()))};
    return image;
}

Failure<QString> tooLarge(const QString &path)
{
    return {inputFileFault(path, QStringLiteral("too large for a texture."))};
}

} // namespace

Result<QImage> readTextureFile(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    const qint64 budget = wholeReadBudgetOf(FileRole::Texture);
    if (!input.value().archive) {
        // Only a regular file, so that opening it never waits on a device or pipe.
        QFile file;
        if (!openRegularFile(file, path).ok())
            return Failure{inputFileFault(path, QStringLiteral("not a regular file."))};
        if (file.size() > budget)
            return tooLarge(path);
        return pictureFrom(file, path, file.peek(kRecognitionBytes), file.size());
    }
    const FarEntry &entry = input.value().entry;
    if (entry.size > budget)
        return tooLarge(path);
    Result<QByteArray> read = input.value().archive->readEntry(entry, entry.size);
    if (!read.ok())
        return Failure{read.error()};
    QByteArray bytes = std::move(read).value();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return pictureFrom(buffer, path, bytes.left(kRecognitionBytes), bytes.size());
}

} // namespace kelvane
