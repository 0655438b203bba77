#include "inputs/geometryfiles.h"

#include "formats/meshgeometry.h"
#include "formats/skeletonfile.h"

namespace kelvane {

Result<MeshGeometry> readMeshGeometry(const InputFile &input)
{
    const Result<QByteArray> bytes =
        readWholeInput(input, kMeshGeometryBytesRead, QStringLiteral("mesh file"));
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
        readWholeInput(input, kSkeletonFileBytesRead, QStringLiteral("skeleton file"));
    if (!bytes.ok())
        return Failure{bytes.error()};
    Result<QList<Skeleton>> skeletons = skeletonsOf(bytes.value());
    if (!skeletons.ok())
        return Failure{inputFileFault(input.path, skeletons.error())};
    return skeletons;
}

} // namespace kelvane
