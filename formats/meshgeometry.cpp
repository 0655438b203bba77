#include "formats/meshgeometry.h"

#include "formats/geometryfields.h"
#include "formats/textmesh.h"

namespace kelvane {

namespace {

// The fewest bytes an item takes in a binary file, and in a text one with its
// line end.
struct Least {
    qsizetype binary;
    qsizetype text;
};
constexpr Least kBoneName{1, 1};
constexpr Least kFace{3 * 4, 6};     // "0 0 0"
constexpr Least kBinding{5 * 4, 10}; // "0 0 0 0 0"
constexpr Least kPair{2 * 4, 4};     // "0 0"
constexpr Least kVertex{6 * 4, 12};  // "0 0 0 0 0 0"

// Far more bones than any skeleton holds. A name may take a single byte, and
// holding it takes far more than that: without a limit a file of empty names
// would take many times its size.
constexpr quint32 kMostBones = 65535;

std::optional<quint32> countOf(GeometryFields &in, const char *what, Least least)
{
    return in.count(QLatin1String(what), least.binary, least.text);
}

std::optional<Vec3> vec3Of(GeometryFields &in)
{
    const std::optional<float> x = in.f32();
    const std::optional<float> y = x ? in.f32() : std::nullopt;
    const std::optional<float> z = y ? in.f32() : std::nullopt;
    if (!z)
        return std::nullopt;
    return Vec3{*x, *y, *z};
}

bool readVertices(GeometryFields &in, const char *noun, quint32 count, QList<MeshVertex> &out)
{
    out.reserve(count);
    for (quint32 k = 0; k < count; ++k) {
        if (!in.record({noun, k + 1, count}, 6))
            return false;
        const std::optional<Vec3> position = vec3Of(in);
        const std::optional<Vec3> normal = position ? vec3Of(in) : std::nullopt;
        if (!normal)
            return false;
        out.append({*position, *normal});
    }
    return true;
}

bool readBones(GeometryFields &in, MeshGeometry &mesh)
{
    const std::optional<quint32> count = countOf(in, "bones", kBoneName);
    if (count && *count > kMostBones) {
        in.fail(QStringLiteral("it gives %1 bones, more than any skeleton holds (%2 at most); the "
                               "file is damaged.")
                    .arg(*count)
                    .arg(kMostBones));
        return false;
    }
    for (quint32 k = 0; count && k < *count; ++k) {
        const std::optional<QByteArray> bone = in.name({"bone", k + 1, *count});
        if (!bone)
            return false;
        mesh.bones.append(*bone);
    }
    return count.has_value();
}

bool readFaces(GeometryFields &in, MeshGeometry &mesh)
{
    const std::optional<quint32> count = countOf(in, "faces", kFace);
    if (count)
        mesh.faces.reserve(*count);
    for (quint32 k = 0; count && k < *count; ++k) {
        if (!in.record({"face", k + 1, *count}, 3))
            return false;
        const std::optional<quint32> a = in.u32();
        const std::optional<quint32> b = a ? in.u32() : std::nullopt;
        const std::optional<quint32> c = b ? in.u32() : std::nullopt;
        if (!c)
            return false;
        mesh.faces.append({*a, *b, *c});
    }
    return count.has_value();
}

bool readBindings(GeometryFields &in, MeshGeometry &mesh)
{
    const std::optional<quint32> count = countOf(in, "bone bindings", kBinding);
    if (count)
        mesh.bindings.reserve(*count);
    for (quint32 k = 0; count && k < *count; ++k) {
        if (!in.record({"bone binding", k + 1, *count}, 5))
            return false;
        const std::optional<quint32> bone = in.u32();
        const std::optional<quint32> first = bone ? in.u32() : std::nullopt;
        const std::optional<quint32> vertices = first ? in.u32() : std::nullopt;
        const std::optional<qint32> firstBlended = vertices ? in.i32() : std::nullopt;
        const std::optional<quint32> blended = firstBlended ? in.u32() : std::nullopt;
        if (!blended)
            return false;
        mesh.bindings.append({*bone, *first, *vertices, *firstBlended, *blended});
    }
    return count.has_value();
}

bool readTexCoords(GeometryFields &in, MeshGeometry &mesh)
{
    const std::optional<quint32> count = countOf(in, "texture coordinates", kPair);
    if (count)
        mesh.texCoords.reserve(*count);
    for (quint32 k = 0; count && k < *count; ++k) {
        if (!in.record({"texture coordinate", k + 1, *count}, 2))
            return false;
        const std::optional<float> u = in.f32();
        const std::optional<float> v = u ? in.f32() : std::nullopt;
        if (!v)
            return false;
        mesh.texCoords.append({*u, *v});
    }
    return count.has_value();
}

// A blend is its weight and vertex in a binary file, its vertex and weight in
// a text one.
bool readBlends(GeometryFields &in, MeshGeometry &mesh)
{
    const std::optional<quint32> count = countOf(in, "blends", kPair);
    if (count)
        mesh.blends.reserve(*count);
    const bool text = mesh.format == MeshFormat::Text;
    for (quint32 k = 0; count && k < *count; ++k) {
        if (!in.record({"blend", k + 1, *count}, 2))
            return false;
        const std::optional<quint32> first = in.u32();
        const std::optional<quint32> second = first ? in.u32() : std::nullopt;
        if (!second)
            return false;
        mesh.blends.append(text ? Blend{*second, *first} : Blend{*first, *second});
    }
    return count.has_value();
}

bool readAllVertices(GeometryFields &in, MeshGeometry &mesh)
{
    const std::optional<quint32> count = countOf(in, "vertices", kVertex);
    if (!count)
        return false;
    const qint64 expected = qint64(mesh.texCoords.size()) + mesh.blends.size();
    if (*count != expected) {
        in.fail(QStringLiteral("it gives %1 vertices, but a vertex is needed for each of its %2 "
                               "texture coordinates and %3 blends; the file is damaged.")
                    .arg(*count)
                    .arg(mesh.texCoords.size())
                    .arg(mesh.blends.size()));
        return false;
    }
    return readVertices(in, "vertex", quint32(mesh.texCoords.size()), mesh.vertices) &&
           readVertices(in, "blended vertex", quint32(mesh.blends.size()), mesh.blendedVertices);
}

std::optional<MeshGeometry> meshIn(GeometryFields &in, MeshFormat format)
{
    MeshGeometry mesh;
    mesh.format = format;
    const std::optional<QByteArray> name = in.name({"the mesh name"});
    const std::optional<QByteArray> texture = name ? in.name({"the texture name"}) : std::nullopt;
    if (!texture)
        return std::nullopt;
    mesh.name = *name;
    mesh.texture = *texture;
    if (readBones(in, mesh) && readFaces(in, mesh) && readBindings(in, mesh) &&
        readTexCoords(in, mesh) && readBlends(in, mesh) && readAllVertices(in, mesh) &&
        in.finished())
        return mesh;
    return std::nullopt;
}

// What an index of mesh points past, if anything. A run of no vertices may
// begin anywhere: nothing is taken from it.
std::optional<QString> indexFault(const MeshGeometry &mesh)
{
    const qint64 vertices = mesh.vertices.size();
    for (qsizetype k = 0; k < mesh.faces.size(); ++k) {
        for (const quint32 corner : mesh.faces[k]) {
            if (corner >= vertices)
                return QStringLiteral("face %1 of %2 names vertex %3, but the mesh has %4 "
                                      "vertices (numbered from 0); the file is damaged.")
                    .arg(k + 1)
                    .arg(mesh.faces.size())
                    .arg(corner)
                    .arg(vertices);
        }
    }
    for (qsizetype k = 0; k < mesh.bindings.size(); ++k) {
        const BoneBinding &b = mesh.bindings[k];
        const QString which =
            QStringLiteral("bone binding %1 of %2").arg(k + 1).arg(mesh.bindings.size());
        if (b.bone >= quint32(mesh.bones.size()))
            return QStringLiteral("%1 names bone %2, but the mesh has %3 bones (numbered from "
                                  "0); the file is damaged.")
                .arg(which)
                .arg(b.bone)
                .arg(mesh.bones.size());
        if (b.vertexCount > 0 && qint64(b.firstVertex) + b.vertexCount > vertices)
            return QStringLiteral("%1 moves vertices %2 to %3, but the mesh has %4 vertices "
                                  "(numbered from 0); the file is damaged.")
                .arg(which)
                .arg(b.firstVertex)
                .arg(qint64(b.firstVertex) + b.vertexCount - 1)
                .arg(vertices);
        if (b.blendedCount > 0 && b.firstBlended < 0)
            return QStringLiteral("%1 gives %2 as its first blended vertex, yet moves %3; the "
                                  "file is damaged.")
                .arg(which)
                .arg(b.firstBlended)
                .arg(b.blendedCount);
        if (b.blendedCount > 0 && qint64(b.firstBlended) + b.blendedCount > mesh.blends.size())
            return QStringLiteral("%1 moves blended vertices %2 to %3, but the mesh has %4 "
                                  "(numbered from 0); the file is damaged.")
                .arg(which)
                .arg(b.firstBlended)
                .arg(qint64(b.firstBlended) + b.blendedCount - 1)
                .arg(mesh.blends.size());
    }
    for (qsizetype k = 0; k < mesh.blends.size(); ++k) {
        if (mesh.blends[k].vertex >= vertices)
            return QStringLiteral("blend %1 of %2 pulls on vertex %3, but the mesh has %4 "
                                  "vertices (numbered from 0); the file is damaged.")
                .arg(k + 1)
                .arg(mesh.blends.size())
                .arg(mesh.blends[k].vertex)
                .arg(vertices);
    }
    return std::nullopt;
}

} // namespace

bool looksLikeMeshFile(const QByteArray &start, qint64 fileSize)
{
    return meshOf(start, fileSize).ok();
}

Result<MeshGeometry> meshGeometryOf(const QByteArray &bytes)
{
    const Result<Mesh> head = meshOf(bytes, bytes.size());
    if (!head.ok())
        return Failure{head.error()};
    const MeshFormat format = head.value().format;
    // Its line ends are judged as for attaching it: from its first bytes.
    TextFields text(format == MeshFormat::Text ? QByteArrayView(bytes) : QByteArrayView(),
                    kMeshBytesRead);
    BinaryFields binary(bytes);
    GeometryFields &in = format == MeshFormat::Text ? static_cast<GeometryFields &>(text) : binary;
    std::optional<MeshGeometry> mesh = meshIn(in, format);
    if (!mesh)
        return Failure{in.fault()};
    if (const std::optional<QString> fault = indexFault(*mesh))
        return Failure{*fault};
    return std::move(*mesh);
}

} // namespace kelvane
