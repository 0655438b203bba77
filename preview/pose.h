#pragma once

#include "base/result.h"
#include "formats/geometry.h"

#include <QByteArray>
#include <QList>
#include <QVector2D>
#include <QVector3D>

#include <array>

namespace kelvane {

// A mesh as it stands on the character: its triangles in the skeleton's space
// (the game's axes), ready to draw.
struct PosedMesh {
    QByteArray name;
    QByteArray texture;
    QList<QVector3D> positions;
    QList<QVector3D> normals; // of unit length
    QList<QVector2D> texCoords;
    QList<std::array<quint32, 3>> faces;
};

// Whether meshes need a skeleton to be drawn together: false when every one of
// them is bound to one and the same bone (a head with glasses on HEAD), which
// then stands in for the skeleton's space.
bool needsSkeleton(const QList<MeshGeometry> &meshes);

// meshes on skeleton at rest. A vertex follows the bone of its binding; a
// blended vertex pulls the vertex it names towards itself, placed by its own
// binding's bone, by its weight. Without a skeleton (nullptr), meshes that do
// not need one stand as their bone stands in the game's skeletons at rest
// (upright, facing +z, for HEAD and the hands). Refused: a bone a mesh names
// that the skeleton lacks; meshes that need a skeleton, without one.
Result<QList<PosedMesh>> poseMeshes(const QList<MeshGeometry> &meshes, const Skeleton *skeleton);

} // namespace kelvane
