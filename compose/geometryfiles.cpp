#include "compose/geometryfiles.h"

#include "compose/meshgeometry.h"
#include "compose/messagetext.h"
#include "compose/skeletonfile.h"

#include <QFile>

namespace kelvane {

namespace {

constexpr qint64 kPiece = 256 * 1024;

Failure<QString> readFailure(const QString &path, const QString &reason)
{
    return {QStringLiteral("%1: the file cannot be read (%2).").arg(shownName(path), reason)};
}

Failure<QString> tooLarge(const QString &path, qint64 budget, const QString &kind)
{
    return {inputFileFault(path, QStringLiteral("the file is larger than %1 MB, far larger than "
                                                "any %2; it cannot be one.")
                                     .arg(budget / (1024 * 1024))
                                     .arg(kind))};
}

// The bytes of input, when it holds no more than budget.
Result<QByteArray> readWithin(const InputFile &input, qint64 budget, const QString &kind)
{
    if (input.archive) {
        if (input.entry.size > budget)
            return tooLarge(input.path, budget, kind);
        return input.archive->readEntry(input.entry, input.entry.size);
    }
    QFile file;
    if (const Result<void> opened = openRegularFile(file, input.path); !opened.ok())
        return Failure{opened.error()};
    if (file.size() > budget)
        return tooLarge(input.path, budget, kind);
    // Read to the end, not to the size: the file may grow meanwhile.
    QByteArray bytes;
    while (bytes.size() <= budget) {
        const QByteArray piece = file.read(qMin(kPiece, budget + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        return readFailure(input.path, file.errorString());
    if (bytes.size() > budget)
        return tooLarge(input.path, budget, kind);
    return bytes;
}

} // namespace

Result<MeshGeometry> readMeshGeometry(const InputFile &input)
{
    const Result<QByteArray> bytes =
        readWithin(input, kMeshGeometryBytesRead, QStringLiteral("mesh file"));
    if (!bytes.ok())
        return Failure{bytes.error()};
    Result<MeshGeometry> mesh = meshGeometryOf(bytes.value());
    if (!mesh.ok())
        return Failure{inputFileFault(input.path, mesh.error())};
    return mesh;
}

Result<QList<Skeleton>> readSkeletons(const InputFile &input)
{
    const Result<QByteArray> bytes =
        readWithin(input, kSkeletonFileBytesRead, QStringLiteral("skeleton file"));
    if (!bytes.ok())
        return Failure{bytes.error()};
    Result<QList<Skeleton>> skeletons = skeletonsOf(bytes.value());
    if (!skeletons.ok())
        return Failure{inputFileFault(input.path, skeletons.error())};
    return skeletons;
}

} // namespace kelvane
