#include "compose/meshfile.h"

#include "compose/bytereader.h"
#include "compose/cmxcomposer.h"

#include <algorithm>
#include <limits>

namespace kelvane {

namespace {

constexpr int kTextureLine = 1;

// A name in a binary mesh: printable 8-bit text, never empty.
bool isName(const QByteArray &name)
{
    return !name.isEmpty() &&
           std::none_of(name.cbegin(), name.cend(), [](char c) { return quint8(c) < 0x20; });
}

std::optional<Mesh> binaryMeshOf(const QByteArray &start, qint64 fileSize)
{
    ByteReader in(start);
    const std::optional<QByteArray> name = in.string();
    const std::optional<QByteArray> texture = name ? in.string() : std::nullopt;
    const std::optional<quint32> count = texture ? in.u32() : std::nullopt;
    // Each bone name takes a byte at least, in the file if not in what was read.
    if (!count || *count == 0 || *count > fileSize - in.position() || !isName(*name))
        return std::nullopt;
    Mesh mesh{MeshFormat::Binary, *name, *texture, *count, {}};
    for (quint32 k = 0; k < *count; ++k) {
        const std::optional<QByteArray> bone = in.string();
        if (!bone || !isName(*bone))
            break;
        mesh.bones.append(*bone);
    }
    if (mesh.bones.isEmpty())
        return std::nullopt;
    return mesh;
}

} // namespace

Result<Mesh> meshOf(const QByteArray &start, qint64 fileSize)
{
    const LineList lines = splitMeshStart(start.left(kMeshBytesRead));
    const Result<Skin> text = attachedSkinOf(lines);
    if (text.ok()) {
        const std::optional<qint64> count = parseSkinCount(lines[2]);
        return Mesh{MeshFormat::Text, text.value().mesh, lines[kTextureLine],
                    quint32(qMin<qint64>(*count, std::numeric_limits<quint32>::max())),
                    {text.value().bone}};
    }
    if (std::optional<Mesh> binary = binaryMeshOf(start, fileSize))
        return std::move(*binary);
    if (start.contains('\0'))
        return Failure{QStringLiteral("this is neither a text mesh nor a binary mesh: its first "
                                      "bytes are not a mesh name, a texture name and a count of "
                                      "bones of at least 1 followed by the bone names.")};
    return Failure{text.error()};
}

} // namespace kelvane
