#pragma once

#include "base/result.h"
#include "formats/character.h"
#include "formats/fararchive.h"
#include "formats/geometry.h"
#include "formats/meshfile.h"

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>

#include <span>
#include <variant>

namespace kelvane {

// Every kind of file Kelvane reads, one entry each: a new kind is a new entry
// (and its reader), and the lists, names and checks that take from the table
// follow.

// A skeleton file is stored as a character file is, under the same
// extensions, and told apart by its content alone.
enum class FileRole { Character, Mesh, Archive, Skeleton };

// Far above any character file the game can load (32767 skins of long names),
// low enough that a wrong file picked by mistake is not read into memory.
inline constexpr qint64 kMaxCharacterFileBytes = 64 * 1024 * 1024;

using CharacterReader = Result<Character> (*)(const QByteArray &bytes);
// Reads from the first bytes of a file of fileSize bytes.
using MeshReader = Result<Mesh> (*)(const QByteArray &start, qint64 fileSize);
using ArchiveReader = Result<FarArchive> (*)(const QString &path);
using SkeletonReader = Result<QList<Skeleton>> (*)(const QByteArray &bytes);
// Reads a whole mesh, geometry included, for the preview.
using MeshGeometryReader = Result<MeshGeometry> (*)(const QByteArray &bytes);

struct FileFormat {
    FileRole role;
    QLatin1StringView extension;   // ".cmx"
    QLatin1StringView listPattern; // "*.cmx", as the file lists filter
    // What a file of this kind is, as messages name it: "a FAR archive".
    QLatin1StringView description;
    // Whether a file of fileSize bytes beginning with start is of this kind,
    // judged by its content alone.
    bool (*recognises)(const QByteArray &start, qint64 fileSize);
    std::variant<CharacterReader, MeshReader, ArchiveReader, SkeletonReader> reader;
    // How many bytes of a file are read at most (an archive: its header, its
    // manifest being read as its entries are listed).
    qint64 readBudget;
    // A mesh's whole reader, and how much of the file it reads at most.
    MeshGeometryReader geometryReader = nullptr;
    qint64 geometryReadBudget = 0;
};

std::span<const FileFormat> fileFormats();

// The formats of a role, in the table's order.
QList<const FileFormat *> formatsOf(FileRole role);

// The extensions of a role's files, longest first, so that ".cmx.bcf" is
// tried before ".cmx".
QStringList extensionsOf(FileRole role);

// The file-list patterns of a role's files, joined by ";" ("*.cmx;*.cmx.bcf").
QString listPatternsOf(FileRole role);

// The extensions of a role's files as a message lists them: ".cmx" or ".cmx.bcf".
QString shownExtensionsOf(FileRole role);

// A typed name without the extension of a character file (".cmx" or
// ".cmx.bcf", in any case) when it ends in one and more precedes it: the
// extension is added on writing.
QString withoutCharacterExtension(const QString &name);

// The name under which a new file replaces the character file named fileName:
// fileName without ".cmx.bcf" or ".cmx"; empty when it ends in neither.
QString ownNameOf(const QString &fileName);

// The entry of a character or mesh format.
const FileFormat &formatFor(CharacterFormat format);
const FileFormat &formatFor(MeshFormat format);

// How many bytes of a file's start tell every kind apart.
inline constexpr qint64 kRecognitionBytes = kBinaryMeshBytesRead;

// The kind of file whose first bytes are start, of fileSize bytes in all;
// nothing when it is none Kelvane knows.
const FileFormat *formatOf(const QByteArray &start, qint64 fileSize);

} // namespace kelvane
