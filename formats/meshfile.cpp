#include "formats/meshfile.h"

#include "base/bytereader.h"
#include "formats/fileformats.h"
#include "formats/textcharacter.h"
#include "formats/textmesh.h"

#include <algorithm>
#include <limits>

namespace kelvane {

namespace {

constexpr int kTextureLine = 1;
constexpr int kMeshBoneLine = 3;

// A name in a binary mesh: printable 8-bit text, never empty.
bool isName(const QByteArray &name)
{
    return !name.isEmpty() &&
           std::none_of(name.cbegin(), name.cend(), [](char c) { return quint8(c) < 0x20; });
}

std::optional<Mesh> binaryMeshIn(const QByteArray &start, qint64 fileSize)
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

// The last of the lines that begin within the first 400 bytes, read to its
// end from the bytes after them; nothing when it runs on past the longest
// name or the bytes read (or when nothing follows the 400th byte).
std::optional<QByteArray> lastLineWhole(const QByteArray &start, qint64 fileSize,
                                        const LineList &lines)
{
    const QByteArray first = start.left(kMeshBytesRead);
    const QByteArrayView lineEnd = lineEndOf(first);
    // The line may have lost the CR of a line end cut at the 400th byte.
    const bool lostCr = first.size() >= kMeshBytesRead && first.endsWith('\r');
    const qsizetype begins = first.size() - lines.last().size() - (lostCr ? 1 : 0);
    const qsizetype ends = start.indexOf(lineEnd, begins);
    if (ends >= 0 && ends - begins <= kLongestName)
        return start.mid(begins, ends - begins);
    if (ends < 0 && start.size() == fileSize && start.size() - begins <= kLongestName)
        return start.mid(begins);
    return std::nullopt;
}

QString tooLong(int line, const QString &what)
{
    return QStringLiteral("line %1 (%2) is longer than %3 bytes, the longest name the game's "
                          "files can hold.")
        .arg(line)
        .arg(what)
        .arg(kLongestName);
}

} // namespace

Result<Mesh> textMeshOf(const QByteArray &start, qint64 fileSize)
{
    LineList lines = splitMeshStart(start.left(kMeshBytesRead));
    // A line running past the 400th byte is read to its end.
    if (lines.size() == kMeshBoneLine + 1 && start.size() > kMeshBytesRead) {
        const std::optional<QByteArray> whole = lastLineWhole(start, fileSize, lines);
        if (!whole)
            return Failure{tooLong(kMeshBoneLine, QStringLiteral("the bone the mesh attaches to"))};
        lines.last() = *whole;
    }
    for (const auto &[line, what] :
         {std::pair{0, QStringLiteral("the mesh name")},
          std::pair{int(kMeshBoneLine), QStringLiteral("the bone the mesh attaches to")}}) {
        if (lines.size() > kMeshBoneLine && lines[line].size() > kLongestName)
            return Failure{tooLong(line, what)};
    }
    const Result<Skin> text = attachedSkinOf(lines);
    if (text.ok()) {
        const std::optional<qint64> count = parseSkinCount(lines[2]);
        return Mesh{MeshFormat::Text,
                    text.value().mesh,
                    lines[kTextureLine],
                    quint32(qMin<qint64>(*count, std::numeric_limits<quint32>::max())),
                    {text.value().bone}};
    }
    return Failure{text.error()};
}

Result<Mesh> binaryMeshOf(const QByteArray &start, qint64 fileSize)
{
    if (std::optional<Mesh> binary = binaryMeshIn(start, fileSize))
        return std::move(*binary);
    return Failure{QStringLiteral("this is neither a text mesh nor a binary mesh: its first "
                                  "bytes are not a mesh name, a texture name and a count of "
                                  "bones of at least 1 followed by the bone names.")};
}

Result<Mesh> meshOf(const QByteArray &start, qint64 fileSize)
{
    if (isUtf16Text(start))
        return Failure{utf16Fault()};
    const FileFormat &format = readerOf(FileRole::Mesh, start, fileSize);
    return std::get<MeshReader>(format.reader)(start, fileSize);
}

} // namespace kelvane
