#include "tests/fuzz/readerinvariants.h"

#include "compose/characterbinary.h"
#include "compose/characterformat.h"
#include "compose/cmxcomposer.h"
#include "compose/fararchive.h"
#include "compose/linelist.h"
#include "compose/meshfile.h"

#include <QBuffer>
#include <QtEndian>

#include <algorithm>
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

} // namespace

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
