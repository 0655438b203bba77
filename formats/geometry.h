#pragma once

#include "formats/meshfile.h"

#include <QByteArray>
#include <QList>

#include <array>

namespace kelvane {

// Meshes and skeletons whole, as the preview draws them. Plain numbers only:
// this layer does no maths on them.

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
    friend bool operator==(const Vec3 &, const Vec3 &) = default;
};

// A rotation as the game stores it: x, y, z, w.
struct Quat {
    float x = 0;
    float y = 0;
    float z = 0;
    float w = 1;
    friend bool operator==(const Quat &, const Quat &) = default;
};

struct MeshVertex {
    Vec3 position;
    Vec3 normal;
};

// The vertices one bone moves: a run of vertices and a run of blended ones.
struct BoneBinding {
    quint32 bone = 0; // index into MeshGeometry::bones
    quint32 firstVertex = 0;
    quint32 vertexCount = 0;
    qint32 firstBlended = -1; // -1 when the bone moves no blended vertex
    quint32 blendedCount = 0;
};

// One blended vertex's pull on a vertex: blendedVertices[i] moves
// vertices[blends[i].vertex] by weight / 32768.
struct Blend {
    quint32 weight = 0;
    quint32 vertex = 0;
};

struct TexCoord {
    float u = 0;
    float v = 0;
};

// A mesh file of either format, every index checked against what it holds.
struct MeshGeometry {
    MeshFormat format = MeshFormat::Text;
    QByteArray name;
    QByteArray texture;
    QList<QByteArray> bones;
    QList<std::array<quint32, 3>> faces;
    QList<BoneBinding> bindings;
    QList<TexCoord> texCoords; // one per vertex
    QList<Blend> blends;       // one per blended vertex
    QList<MeshVertex> vertices;
    QList<MeshVertex> blendedVertices;
};

struct Property {
    QByteArray name;
    QByteArray value;
};
using PropertyList = QList<Property>;

struct SkeletonBone {
    QByteArray name;
    QByteArray parent; // "NULL" for the root
    QList<PropertyList> properties;
    Vec3 position;
    Quat rotation;
    quint32 canTranslate = 0;
    quint32 canRotate = 0;
    quint32 canBlend = 0;
    float wiggleValue = 0;
    float wigglePower = 0;
};

struct Skeleton {
    QByteArray name;
    QList<SkeletonBone> bones; // in the file's order; a parent is found by its name
};

} // namespace kelvane
