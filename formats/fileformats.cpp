#include "formats/fileformats.h"

#include "base/linelist.h"
#include "formats/binarycharacter.h"
#include "formats/meshgeometry.h"
#include "formats/skeletonfile.h"
#include "formats/textcharacter.h"

#include <algorithm>

namespace kelvane {

namespace {

bool isArchive(const QByteArray &start, qint64)
{
    return start.startsWith("FAR!byAZ");
}

bool isTextCharacter(const QByteArray &start, qint64)
{
    return !isUtf16Text(start) && looksLikeTextCharacter(start);
}

bool isMeshOf(MeshFormat format, const QByteArray &start, qint64 fileSize)
{
    const Result<Mesh> mesh = meshOf(start, fileSize);
    return mesh.ok() && mesh.value().format == format;
}

bool isTextMesh(const QByteArray &start, qint64 fileSize)
{
    return isMeshOf(MeshFormat::Text, start, fileSize);
}

bool isBinaryMesh(const QByteArray &start, qint64 fileSize)
{
    return isMeshOf(MeshFormat::Binary, start, fileSize);
}

// A character file whose count of skeletons is not 0: tried before the
// character files, which it would otherwise pass for.
bool isSkeletonFile(const QByteArray &start, qint64)
{
    return !isUtf16Text(start) && looksLikeSkeletonFile(start);
}

bool isBinarySkeleton(const QByteArray &start, qint64 fileSize)
{
    return isSkeletonFile(start, fileSize) && looksLikeBinaryCharacter(start);
}

bool isTextSkeleton(const QByteArray &start, qint64 fileSize)
{
    return isSkeletonFile(start, fileSize) && !looksLikeBinaryCharacter(start);
}

// Tried after the meshes: its test is its first four bytes only.
bool isBinaryCharacter(const QByteArray &start, qint64)
{
    return !isUtf16Text(start) && looksLikeBinaryCharacter(start);
}

Result<Character> readTextCharacter(const QByteArray &bytes)
{
    return textCharacterOf(splitCharacterFile(bytes));
}

Result<Character> readBinaryCharacter(const QByteArray &bytes)
{
    return binaryCharacterOf(bytes);
}

using namespace Qt::Literals::StringLiterals;

// Recognised in this order: the first entry that recognises a file names it.
const FileFormat kFormats[] = {
    {FileRole::Archive, ".far"_L1, "*.far"_L1, "a FAR archive"_L1, isArchive,
     ArchiveReader{&FarArchive::open}, 16},
    {FileRole::Skeleton, ".cmx.bcf"_L1, "*.cmx.bcf"_L1, "a skeleton file"_L1, isBinarySkeleton,
     SkeletonReader{skeletonsOf}, kSkeletonFileBytesRead},
    {FileRole::Skeleton, ".cmx"_L1, "*.cmx"_L1, "a text skeleton file"_L1, isTextSkeleton,
     SkeletonReader{skeletonsOf}, kSkeletonFileBytesRead},
    {FileRole::Character, ".cmx"_L1, "*.cmx"_L1, "a text character file"_L1, isTextCharacter,
     CharacterReader{readTextCharacter}, kMaxCharacterFileBytes},
    {FileRole::Mesh, ".skn"_L1, "*.skn"_L1, "a text mesh file"_L1, isTextMesh, MeshReader{meshOf},
     kTextMeshBytesRead, meshGeometryOf, kMeshGeometryBytesRead},
    {FileRole::Mesh, ".bmf"_L1, "*.bmf"_L1, "a binary mesh file"_L1, isBinaryMesh,
     MeshReader{meshOf}, kBinaryMeshBytesRead, meshGeometryOf, kMeshGeometryBytesRead},
    {FileRole::Character, ".cmx.bcf"_L1, "*.cmx.bcf"_L1, "a binary character file"_L1,
     isBinaryCharacter, CharacterReader{readBinaryCharacter}, kMaxCharacterFileBytes},
};

const FileFormat &entryOf(FileRole role, int nth)
{
    return *formatsOf(role).at(nth);
}

} // namespace

const FileFormat &formatFor(CharacterFormat format)
{
    // The table lists text before binary.
    return entryOf(FileRole::Character, format == CharacterFormat::Text ? 0 : 1);
}

const FileFormat &formatFor(MeshFormat format)
{
    return entryOf(FileRole::Mesh, format == MeshFormat::Text ? 0 : 1);
}

std::span<const FileFormat> fileFormats()
{
    return kFormats;
}

QList<const FileFormat *> formatsOf(FileRole role)
{
    QList<const FileFormat *> found;
    for (const FileFormat &format : kFormats) {
        if (format.role == role)
            found.append(&format);
    }
    return found;
}

QStringList extensionsOf(FileRole role)
{
    QStringList extensions;
    for (const FileFormat *format : formatsOf(role))
        extensions.append(format->extension);
    std::stable_sort(extensions.begin(), extensions.end(),
                     [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return extensions;
}

QString listPatternsOf(FileRole role)
{
    QStringList patterns;
    for (const FileFormat *format : formatsOf(role))
        patterns.append(format->listPattern);
    return patterns.join(QLatin1Char(';'));
}

QString shownExtensionsOf(FileRole role)
{
    QStringList shown;
    for (const FileFormat *format : formatsOf(role))
        shown.append(QLatin1Char('"') + format->extension + QLatin1Char('"'));
    return shown.join(QStringLiteral(" or "));
}

const FileFormat *formatOf(const QByteArray &start, qint64 fileSize)
{
    for (const FileFormat &format : kFormats) {
        if (format.recognises(start, fileSize))
            return &format;
    }
    return nullptr;
}

QString withoutCharacterExtension(const QString &name)
{
    for (const QString &extension : extensionsOf(FileRole::Character)) {
        if (name.endsWith(extension, Qt::CaseInsensitive) && name.size() > extension.size())
            return name.chopped(extension.size());
    }
    return name;
}

QString ownNameOf(const QString &fileName)
{
    const QString name = withoutCharacterExtension(fileName);
    return name == fileName ? QString() : name;
}

} // namespace kelvane
