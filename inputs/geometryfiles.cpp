#include "inputs/geometryfiles.h"

#include "formats/fileformats.h"
#include "formats/skeletonfile.h"

namespace kelvane {

Result<MeshGeometry> readMeshGeometry(const InputFile &input)
{
    const Result<QByteArray> bytes =
        readWholeInput(input, wholeReadBudgetOf(FileRole::Mesh), QStringLiteral("mesh file"));
    if (!bytes.ok())
        return Failure{bytes.error()};
    const FileFormat &format = readerOf(FileRole::Mesh, bytes.value(), bytes.value().size());
    Result<MeshGeometry> mesh = format.geometryReader(bytes.value());
    if (!mesh.ok())
        return Failure{inputFileFault(input.path, mesh.error())};
    return mesh;
}

Result<QList<Skeleton>> readSkeletons(const InputFile &input)
{
    const Result<QByteArray> bytes =
        readWholeInput(input, readBudgetOf(FileRole::Skeleton), QStringLiteral("skeleton file"));
    if (!bytes.ok())
        return Failure{bytes.error()};
    Result<QList<Skeleton>> skeletons = skeletonsOf(bytes.value());
    if (!skeletons.ok())
        return Failure{inputFileFault(input.path, skeletons.error())};
    return skeletons;
}

} // namespace kelvane
