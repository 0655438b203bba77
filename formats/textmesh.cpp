#include "formats/textmesh.h"

#include "base/messagetext.h"
#include "formats/textcharacter.h"

namespace kelvane {

namespace {

constexpr int kMeshNameLine = 0;
constexpr int kMeshBoneCountLine = 2;
constexpr int kMeshBoneLine = 3;

} // namespace

LineList splitMeshStart(const QByteArray &start)
{
    LineList lines = splitLines(start);
    // Cut between CR and LF, the last line would keep the CR of its line end.
    if (start.size() >= kMeshBytesRead && lines.last().endsWith('\r'))
        lines.last().chop(1);
    return lines;
}

Result<Skin> attachedSkinOf(const LineList &meshLines)
{
    if (meshLines.size() <= kMeshBoneLine)
        return Failure{QStringLiteral("line %1 (the bone the mesh attaches to) does not begin "
                                      "within the file's first 400 bytes.")
                           .arg(kMeshBoneLine)};
    const std::optional<qint64> bones = parseSkinCount(meshLines[kMeshBoneCountLine]);
    if (!bones || *bones < 1)
        return Failure{QStringLiteral("line %1 should be the number of bones (a whole number, at "
                                      "least 1), but it is %2; this is not a mesh file.")
                           .arg(kMeshBoneCountLine)
                           .arg(quotedBytes(meshLines[kMeshBoneCountLine]))};
    if (meshLines[kMeshNameLine].isEmpty())
        return Failure{QStringLiteral("line %1 (the mesh name) is empty.").arg(kMeshNameLine)};
    if (meshLines[kMeshBoneLine].isEmpty())
        return Failure{
            QStringLiteral("line %1 (the bone the mesh attaches to) is empty.").arg(kMeshBoneLine)};
    return Skin{meshLines[kMeshBoneLine], meshLines[kMeshNameLine]};
}

} // namespace kelvane
