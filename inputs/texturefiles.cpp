#include "inputs/texturefiles.h"

#include "formats/fileformats.h"
#include "inputs/inputfiles.h"

#include <QFile>

namespace kelvane {

namespace {

// The first bytes of the file at path, as many as format reads; the reason
// when it cannot be read.
Result<QByteArray> startOf(const QString &path, const FileFormat &format)
{
    QFile file;
    if (const Result<void> opened = openRegularFileUnnamed(file, path); !opened.ok())
        return Failure{opened.error()};
    const QByteArray start = file.read(format.readBudget);
    if (file.error() != QFileDevice::NoError)
        return Failure{file.errorString()};
    return start;
}

} // namespace

TextureRead readTextureHeader(const QString &path)
{
    const FileFormat &format = gameTextureFormat();
    const Result<QByteArray> start = startOf(path, format);
    if (!start.ok())
        return {std::nullopt, QStringLiteral("cannot be read (%1)").arg(start.error())};
    return std::get<TextureReader>(format.reader)(start.value());
}

bool holdsGameTexture(const QString &path)
{
    const FileFormat &format = gameTextureFormat();
    const Result<QByteArray> start = startOf(path, format);
    return start.ok() && format.recognises(start.value(), start.value().size());
}

} // namespace kelvane
