#include "preview/pose.h"

#include "base/messagetext.h"
#include "preview/skeletonpose.h"

#include <QMatrix4x4>

#include <algorithm>

namespace kelvane {

namespace {

constexpr float kFullWeight = 32768;

// How a bone stands in the game's skeletons at rest, to the nearest quarter
// turn: the HEAD's +x runs up the neck, its +z is the face; a hand's +x
// points down the arm. Meshes on one bone drawn without a skeleton stand as
// they would on it; other bones are drawn in their own axes.
QMatrix4x4 restRotationOf(const QByteArray &bone)
{
    const QByteArray key = boneKey(bone);
    // Rows: where the game's x, y and z come from in the bone's axes.
    if (key == "HEAD")
        return QMatrix4x4(0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    if (key == "L_HAND")
        return QMatrix4x4(0, 0, 1, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 1);
    if (key == "R_HAND")
        return QMatrix4x4(0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1);
    return {};
}

// The transform of each bone mesh.bones names, or the fault.
Result<QList<QMatrix4x4>> meshBoneTransforms(const MeshGeometry &mesh,
                                             const BoneTransforms *skeleton,
                                             const QByteArray &skeletonName)
{
    QList<QMatrix4x4> transforms;
    for (const QByteArray &bone : mesh.bones) {
        if (!skeleton) {
            transforms.append(restRotationOf(bone));
            continue;
        }
        const auto found = skeleton->constFind(boneKey(bone));
        if (found == skeleton->cend())
            return Failure{
                QStringLiteral("The mesh %1 is bound to the bone %2, which the "
                               "skeleton %3 does not have.")
                    .arg(quotedBytes(mesh.name), quotedBytes(bone), quotedBytes(skeletonName))};
        transforms.append(*found);
    }
    return transforms;
}

QVector3D normalOf(const QMatrix4x4 &transform, const Vec3 &normal)
{
    return transform.mapVector(vectorOf(normal)).normalized();
}

PosedMesh posedMesh(const MeshGeometry &mesh, const QList<QMatrix4x4> &bones)
{
    PosedMesh posed{mesh.name, mesh.texture, {}, {}, {}, mesh.faces};
    const qsizetype count = mesh.vertices.size();
    posed.positions.reserve(count);
    posed.normals.reserve(count);
    for (const MeshVertex &vertex : mesh.vertices) {
        posed.positions.append(vectorOf(vertex.position));
        posed.normals.append(vectorOf(vertex.normal).normalized());
    }
    posed.texCoords.reserve(count);
    for (const TexCoord &uv : mesh.texCoords)
        posed.texCoords.append({uv.u, uv.v});
    posed.texCoords.resize(count);

    // The reader checks every index; the bounds here keep a mesh built by
    // other means from reading past its lists.
    for (const BoneBinding &binding : mesh.bindings) {
        if (binding.bone >= bones.size())
            continue;
        const QMatrix4x4 &bone = bones.at(binding.bone);
        const qsizetype end =
            std::min<qsizetype>(count, qsizetype(binding.firstVertex) + binding.vertexCount);
        for (qsizetype i = binding.firstVertex; i < end; ++i) {
            posed.positions[i] = bone.map(vectorOf(mesh.vertices[i].position));
            posed.normals[i] = normalOf(bone, mesh.vertices[i].normal);
        }
    }
    // Blends pull the vertices as the bones have placed them.
    const QList<QVector3D> placed = posed.positions;
    const QList<QVector3D> placedNormals = posed.normals;
    for (const BoneBinding &binding : mesh.bindings) {
        if (binding.firstBlended < 0 || binding.bone >= bones.size())
            continue;
        const QMatrix4x4 &bone = bones.at(binding.bone);
        const qsizetype end =
            std::min({mesh.blends.size(), mesh.blendedVertices.size(),
                      qsizetype(binding.firstBlended) + qsizetype(binding.blendedCount)});
        for (qsizetype i = binding.firstBlended; i < end; ++i) {
            const Blend &blend = mesh.blends[i];
            if (blend.vertex >= count)
                continue;
            const float weight = std::clamp(float(blend.weight) / kFullWeight, 0.0f, 1.0f);
            const MeshVertex &pull = mesh.blendedVertices[i];
            const qsizetype target = blend.vertex;
            posed.positions[target] +=
                weight * (bone.map(vectorOf(pull.position)) - placed[target]);
            const QVector3D normal =
                (1 - weight) * placedNormals[target] + weight * normalOf(bone, pull.normal);
            posed.normals[target] = normal.isNull() ? placedNormals[target] : normal.normalized();
        }
    }
    return posed;
}

} // namespace

bool needsSkeleton(const QList<MeshGeometry> &meshes)
{
    QByteArray only;
    for (const MeshGeometry &mesh : meshes)
        for (const QByteArray &bone : mesh.bones) {
            if (only.isEmpty())
                only = boneKey(bone);
            else if (boneKey(bone) != only)
                return true;
        }
    return false;
}

Result<QList<PosedMesh>> poseMeshes(const QList<MeshGeometry> &meshes, const Skeleton *skeleton)
{
    BoneTransforms world;
    if (skeleton) {
        Result<BoneTransforms> placed = boneTransforms(*skeleton);
        if (!placed.ok())
            return Failure{placed.error()};
        world = std::move(placed).value();
    } else if (needsSkeleton(meshes)) {
        return Failure{QStringLiteral("These meshes are bound to different bones and need a "
                                      "skeleton to be shown together.")};
    }
    QList<PosedMesh> posed;
    for (const MeshGeometry &mesh : meshes) {
        Result<QList<QMatrix4x4>> bones =
            meshBoneTransforms(mesh, skeleton ? &world : nullptr, skeleton ? skeleton->name : "");
        if (!bones.ok())
            return Failure{bones.error()};
        posed.append(posedMesh(mesh, bones.value()));
    }
    return posed;
}

} // namespace kelvane
