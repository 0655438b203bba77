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

// A file whose first bytes look binary is read as binary, whatever follows.
bool isTextCharacter(const QByteArray &start, qint64)
{
    return !isUtf16Text(start) && !looksLikeBinaryCharacter(start) && looksLikeTextCharacter(start);
}

bool isTextMesh(const QByteArray &start, qint64 fileSize)
{
    return !isUtf16Text(start) && textMeshOf(start, fileSize).ok();
}

// Tried after the text meshes, which it would otherwise take some of.
bool isBinaryMesh(const QByteArray &start, qint64 fileSize)
{
    return !isUtf16Text(start) && binaryMeshOf(start, fileSize).ok();
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

bool isBmpPicture(const QByteArray &start, qint64)
{
    return looksLikeBmpPicture(start);
}

bool isTgaPicture(const QByteArray &start, qint64)
{
    return looksLikeTgaPicture(start);
}

Result<Character> readTextCharacter(const QByteArray &bytes)
{
    return textCharacterOf(splitCharacterFile(bytes));
}

Result<Character> readBinaryCharacter(const QByteArray &bytes)
{
    return binaryCharacterOf(bytes);
}

// Whether a file of role that no entry recognises is read as binary: a
// mesh holding a zero byte, which text never does; a character or skeleton
// file whose count of skeletons begins it.
bool looksBinary(FileRole role, const QByteArray &start)
{
    if (role == FileRole::Mesh)
        return start.contains('\0');
    return looksLikeBinaryCharacter(start);
}

using namespace Qt::Literals::StringLiterals;

// Recognised in this order: the first entry that recognises a file names it.
const FileFormat kFormats[] = {
    {FileRole::Archive, Encoding::Binary, ".far"_L1, "*.far"_L1, "a FAR archive"_L1, isArchive,
     ArchiveReader{&FarArchive::open}, 16},
    {FileRole::Skeleton, Encoding::Binary, ".cmx.bcf"_L1, "*.cmx.bcf"_L1, "a skeleton file"_L1,
     isBinarySkeleton, SkeletonReader{binarySkeletonsOf}, kSkeletonFileBytesRead},
    {FileRole::Skeleton, Encoding::Text, ".cmx"_L1, "*.cmx"_L1, "a text skeleton file"_L1,
     isTextSkeleton, SkeletonReader{textSkeletonsOf}, kSkeletonFileBytesRead},
    {FileRole::Character, Encoding::Text, ".cmx"_L1, "*.cmx"_L1, "a text character file"_L1,
     isTextCharacter, CharacterReader{readTextCharacter}, kMaxCharacterFileBytes},
    {FileRole::Mesh, Encoding::Text, ".skn"_L1, "*.skn"_L1, "a text mesh file"_L1, isTextMesh,
     MeshReader{textMeshOf}, kTextMeshBytesRead, meshGeometryOf, kMeshGeometryBytesRead},
    {FileRole::Mesh, Encoding::Binary, ".bmf"_L1, "*.bmf"_L1, "a binary mesh file"_L1, isBinaryMesh,
     MeshReader{binaryMeshOf}, kBinaryMeshBytesRead, meshGeometryOf, kMeshGeometryBytesRead},
    {FileRole::Character, Encoding::Binary, ".cmx.bcf"_L1, "*.cmx.bcf"_L1,
     "a binary character file"_L1, isBinaryCharacter, CharacterReader{readBinaryCharacter},
     kMaxCharacterFileBytes},
    // Pictures last: a TGA is told by a few bytes of its header only.
    {FileRole::Texture, Encoding::BmpPicture, ".bmp"_L1, "*.bmp"_L1, "a BMP picture"_L1,
     isBmpPicture, TextureReader{textureHeaderOf}, kTextureHeaderBytes, nullptr, kTextureBytesRead,
     "bmp"},
    {FileRole::Texture, Encoding::TgaPicture, ".tga"_L1, "*.tga"_L1, "a TGA picture"_L1,
     isTgaPicture, TextureReader{nullptr}, 0, nullptr, kTextureBytesRead, "tga", true},
};

} // namespace

const FileFormat &formatFor(FileRole role, Encoding encoding)
{
    for (const FileFormat &format : kFormats) {
        if (format.role == role && format.encoding == encoding)
            return format;
    }
    Q_UNREACHABLE();
}

const FileFormat &formatFor(CharacterFormat format)
{
    return formatFor(FileRole::Character,
                     format == CharacterFormat::Text ? Encoding::Text : Encoding::Binary);
}

const FileFormat &formatFor(MeshFormat format)
{
    return formatFor(FileRole::Mesh,
                     format == MeshFormat::Text ? Encoding::Text : Encoding::Binary);
}

const FileFormat &gameTextureFormat()
{
    return formatFor(FileRole::Texture, Encoding::BmpPicture);
}

qint64 readBudgetOf(FileRole role)
{
    qint64 budget = 0;
    for (const FileFormat *format : formatsOf(role))
        budget = qMax(budget, format->readBudget);
    return budget;
}

qint64 wholeReadBudgetOf(FileRole role)
{
    qint64 budget = 0;
    for (const FileFormat *format : formatsOf(role))
        budget = qMax(budget, format->wholeReadBudget);
    return budget;
}

bool isNamedAs(const QString &fileName, const FileFormat &format)
{
    return fileName.endsWith(format.extension, Qt::CaseInsensitive);
}

const FileFormat *formatNamed(const QString &fileName, FileRole role)
{
    const FileFormat *named = nullptr;
    for (const FileFormat *format : formatsOf(role)) {
        if (isNamedAs(fileName, *format) &&
            (!named || format->extension.size() > named->extension.size()))
            named = format;
    }
    return named;
}

const FileFormat *recognisedAs(FileRole role, const QByteArray &start, qint64 fileSize)
{
    for (const FileFormat *format : formatsOf(role)) {
        if (format->recognises(start, fileSize))
            return format;
    }
    return nullptr;
}

const FileFormat &readerOf(FileRole role, const QByteArray &start, qint64 fileSize)
{
    if (const FileFormat *format = recognisedAs(role, start, fileSize))
        return *format;
    return formatFor(role, looksBinary(role, start) ? Encoding::Binary : Encoding::Text);
}

const FileFormat *textureFormatOf(const QString &fileName, const QByteArray &start, qint64 fileSize)
{
    if (const FileFormat *format = recognisedAs(FileRole::Texture, start, fileSize))
        return format;
    const FileFormat *named = formatNamed(fileName, FileRole::Texture);
    return named && named->toldByName ? named : nullptr;
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

QStringList fileNamesOf(const QString &name, FileRole role)
{
    QStringList names;
    for (const FileFormat *format : formatsOf(role))
        names.append(name + format->extension);
    return names;
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
