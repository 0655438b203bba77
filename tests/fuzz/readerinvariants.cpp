#include "tests/fuzz/readerinvariants.h"

#include "base/linelist.h"
#include "formats/binarycharacter.h"
#include "formats/characterformat.h"
#include "formats/fararchive.h"
#include "formats/fileformats.h"
#include "formats/meshfile.h"
#include "formats/meshgeometry.h"
#include "formats/skeletonfile.h"
#include "formats/textcharacter.h"
#include "formats/textmesh.h"
#include "formats/textureheader.h"

#include <QBuffer>
#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace readerinvariants {

using namespace kelvane;

namespace {

bool sameSkins(const QList<Skin> &a, const QList<Skin> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](const Skin &x, const Skin &y) {
        return x.bone == y.bone && x.mesh == y.mesh && x.censorFlags == y.censorFlags &&
               x.second == y.second;
    });
}

Fault textCharacterFault(const QByteArray &bytes, const Character &character)
{
    const LineList all = splitLines(bytes);
    const LineList used = splitCharacterFile(bytes);
    if (used.size() > all.size() || !std::equal(used.cbegin(), used.cend(), all.cbegin()))
        return "the lines used are not the first lines of the text";
    if (character.skins.size() >= kMaxSkinCount)
        return "a text character holds more skins than a character file may";
    const Result<Character> again = characterOf(fileBytesOf(character));
    if (!again.ok() || again.value().format != CharacterFormat::Text)
        return "a text character written out does not read back";
    if (!sameSkins(again.value().skins, character.skins))
        return "a text character written out reads back other skins";
    return std::nullopt;
}

Fault meshReadFault(const Mesh &mesh)
{
    if (mesh.name.isEmpty())
        return "a mesh read has an empty name";
    if (mesh.bones.isEmpty() || mesh.bones.first().isEmpty())
        return "a mesh read has no first bone";
    if (qsizetype(mesh.boneCount) < mesh.bones.size())
        return "a mesh read has more bone names than its count";
    if (mesh.skin().bone != mesh.bones.first() || mesh.skin().mesh != mesh.name)
        return "the skin of a mesh is not its first bone and its name";
    return std::nullopt;
}

bool finite(std::initializer_list<float> values)
{
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

bool finite(const MeshVertex &v)
{
    return finite({v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z});
}

Fault meshIndexFault(const MeshGeometry &m)
{
    const qint64 vertices = m.vertices.size();
    if (m.texCoords.size() != vertices || m.blendedVertices.size() != m.blends.size())
        return "a mesh read has not a vertex per texture coordinate and per blend";
    for (const auto &face : m.faces) {
        if (std::any_of(face.cbegin(), face.cend(), [&](quint32 i) { return i >= vertices; }))
            return "a face names a vertex past the vertices";
    }
    for (const BoneBinding &b : m.bindings) {
        if (b.bone >= quint64(m.bones.size()))
            return "a bone binding names a bone past the bones";
        if (b.vertexCount > 0 && b.firstVertex + quint64(b.vertexCount) > quint64(vertices))
            return "a bone binding moves vertices past the vertices";
        if (b.blendedCount > 0 &&
            (b.firstBlended < 0 || b.firstBlended + qint64(b.blendedCount) > m.blends.size()))
            return "a bone binding moves blended vertices past the blends";
    }
    for (const Blend &blend : m.blends) {
        if (blend.vertex >= vertices)
            return "a blend pulls on a vertex past the vertices";
    }
    if (!std::all_of(m.vertices.cbegin(), m.vertices.cend(),
                     [](const MeshVertex &v) { return finite(v); }) ||
        !std::all_of(m.blendedVertices.cbegin(), m.blendedVertices.cend(),
                     [](const MeshVertex &v) { return finite(v); }) ||
        !std::all_of(m.texCoords.cbegin(), m.texCoords.cend(), [](const TexCoord &t) {
            return finite({t.u, t.v});
        }))
        return "a mesh read holds a float that is not finite";
    return std::nullopt;
}

// Walks up from each bone no further than there are bones: a longer walk is a
// cycle.
Fault treeFault(const Skeleton &skeleton)
{
    QHash<QByteArray, qsizetype> byName;
    for (qsizetype k = 0; k < skeleton.bones.size(); ++k) {
        const SkeletonBone &b = skeleton.bones[k];
        if (byName.contains(b.name))
            return "a skeleton read holds two bones of one name";
        byName.insert(b.name, k);
        if (!finite({b.position.x, b.position.y, b.position.z, b.rotation.x, b.rotation.y,
                     b.rotation.z, b.rotation.w, b.wiggleValue, b.wigglePower}))
            return "a skeleton read holds a float that is not finite";
    }
    for (const SkeletonBone &bone : skeleton.bones) {
        QByteArray parent = bone.parent;
        for (qsizetype steps = 0; parent != "NULL"; ++steps) {
            if (!byName.contains(parent))
                return "a bone's parent is no bone of its skeleton";
            if (steps > skeleton.bones.size())
                return "a skeleton's parents form a cycle";
            parent = skeleton.bones[byName.value(parent)].parent;
        }
    }
    return std::nullopt;
}

} // namespace

Fault meshGeometryFault(QByteArrayView bytes)
{
    const QByteArray data = bytes.toByteArray();
    const Result<MeshGeometry> read = meshGeometryOf(data);
    if (!read.ok())
        return read.error().isEmpty() ? Fault("a mesh is refused without a reason") : std::nullopt;
    const Result<Mesh> start = meshOf(data, data.size());
    if (!start.ok() || !looksLikeMeshFile(data, data.size()))
        return "a whole mesh read is no mesh to meshOf";
    const MeshGeometry &mesh = read.value();
    if (start.value().format != mesh.format || start.value().name != mesh.name ||
        start.value().texture != mesh.texture || mesh.bones.size() < start.value().bones.size() ||
        mesh.bones.first(start.value().bones.size()) != start.value().bones)
        return "a whole mesh differs from its start as meshOf reads it";
    return meshIndexFault(mesh);
}

Fault skeletonFault(QByteArrayView bytes)
{
    const QByteArray data = bytes.toByteArray();
    const Result<QList<Skeleton>> read = skeletonsOf(data);
    if (!read.ok())
        return read.error().isEmpty() ? Fault("a skeleton file is refused without a reason")
                                      : std::nullopt;
    if (read.value().isEmpty())
        return "a skeleton file read holds no skeleton";
    if (!looksLikeSkeletonFile(data))
        return "a skeleton file read is not told by looksLikeSkeletonFile";
    for (const Skeleton &skeleton : read.value()) {
        if (Fault fault = treeFault(skeleton))
            return fault;
    }
    return std::nullopt;
}

Fault characterFault(QByteArrayView bytes)
{
    const QByteArray data = bytes.toByteArray();
    const Result<Character> any = characterOf(data);
    const Result<Character> binary = binaryCharacterOf(bytes);
    if (binary.ok()) {
        if (!looksLikeBinaryCharacter(bytes))
            return "a binary character file is not recognised as one";
        if (binaryOfCharacter(binary.value()) != bytes)
            return "a binary character written back differs from the bytes read";
        if (!any.ok() || any.value().format != CharacterFormat::Binary ||
            !sameSkins(any.value().skins, binary.value().skins))
            return "characterOf does not read a binary character file as the binary reader does";
        if (binary.value().skins.size() >= kMaxSkinCount)
            return "a binary character holds more skins than a character file may";
    }
    if (any.ok() && any.value().format == CharacterFormat::Text)
        return textCharacterFault(data, any.value());
    return std::nullopt;
}

Fault meshFault(QByteArrayView bytes)
{
    const QByteArray start = bytes.first(qMin(bytes.size(), kBinaryMeshBytesRead)).toByteArray();
    // As the files are read: the first 400 bytes, then more when they are no mesh.
    for (const QByteArray &read : {start.left(kMeshBytesRead), start}) {
        const Result<Mesh> mesh = meshOf(read, bytes.size());
        if (mesh.ok()) {
            if (Fault fault = meshReadFault(mesh.value()))
                return fault;
        } else if (mesh.error().isEmpty()) {
            return "a mesh is refused without a reason";
        }
    }
    return std::nullopt;
}

Fault textureFault(QByteArrayView bytes)
{
    const QByteArray data = bytes.toByteArray();
    const TextureRead read = textureHeaderOf(data);
    const FileFormat *format = textureFormatOf(QStringLiteral("fuzzed"), data, data.size());
    if (!read.header) {
        if (read.fault.isEmpty())
            return "a refusal does not say why";
        if (looksLikeTgaPicture(data) &&
            format != &formatFor(FileRole::Texture, Encoding::TgaPicture))
            return "a TGA header is not told as one";
        return std::nullopt;
    }
    if (format != &gameTextureFormat())
        return "a BMP read is not told as one";
    if (read.header->width < 0 || read.header->height < 0)
        return "a size read is negative";
    return std::nullopt;
}

Fault archiveFault(QByteArrayView bytes)
{
    QByteArray data = bytes.toByteArray();
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    const QString path = QStringLiteral("fuzzed.far");
    const Result<FarArchive> archive = FarArchive::read(device, path);
    if (!archive.ok()) {
        if (!archive.error().startsWith(path))
            return "a refusal does not name the archive";
        return std::nullopt;
    }

    const qint64 manifestAt = qFromLittleEndian<quint32>(data.constData() + 12);
    QList<FarEntry> byOffset;
    for (const FarEntry &entry : archive.value().entries()) {
        if (entry.offset < 16 || entry.size < 0 || entry.offset + entry.size > manifestAt)
            return "an entry lies outside the files' bytes";
        const FarEntry *found = archive.value().find(entry.name);
        if (!found || found->name.compare(entry.name, Qt::CaseInsensitive) != 0)
            return "an entry is not found by its name";
        QString backslashed = entry.name;
        if (archive.value().find(backslashed.replace(QLatin1Char('/'), QLatin1Char('\\'))) != found)
            return "an entry is not found by its name with backslashes";
        if (entry.size > 0)
            byOffset.append(entry);
    }
    std::sort(byOffset.begin(), byOffset.end(),
              [](const FarEntry &a, const FarEntry &b) { return a.offset < b.offset; });
    for (qsizetype i = 1; i < byOffset.size(); ++i) {
        if (byOffset[i - 1].offset + byOffset[i - 1].size > byOffset[i].offset)
            return "two entries overlap";
    }
    return std::nullopt;
}

int abortOnFault(const Fault &fault)
{
    if (!fault)
        return 0;
    std::fprintf(stderr, "invariant broken: %s\n", fault->c_str());
    std::abort();
}

} // namespace readerinvariants
