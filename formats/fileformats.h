#pragma once

#include "base/result.h"
#include "formats/character.h"
#include "formats/fararchive.h"
#include "formats/geometry.h"
#include "formats/meshfile.h"
#include "formats/textureheader.h"

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
enum class FileRole { Character, Mesh, Archive, Skeleton, Texture };

// How a file of a role is stored: the game's text or binary layout, or for a
// texture the kind of picture.
enum class Encoding { Text, Binary, BmpPicture, TgaPicture };

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
// Reads a texture's header; its picture is decoded where pictures are drawn.
using TextureReader = TextureRead (*)(const QByteArray &start);

struct FileFormat {
    FileRole role;
    Encoding encoding;
    QLatin1StringView extension;   // ".cmx"
    QLatin1StringView listPattern; // "*.cmx", as the file lists filter
    // What a file of this kind is, as messages name it: "a FAR archive".
    QLatin1StringView description;
    // Whether a file of fileSize bytes beginning with start is of this kind,
    // judged by its content alone.
    bool (*recognises)(const QByteArray &start, qint64 fileSize);
    // A texture without a header reader (a TGA) holds nullptr.
    std::variant<CharacterReader, MeshReader, ArchiveReader, SkeletonReader, TextureReader> reader;
    // How many bytes of a file are read at most (an archive: its header, its
    // manifest being read as its entries are listed; a texture: its header).
    qint64 readBudget;
    // A mesh's whole reader; how much of a mesh or a texture is read at most
    // when it is read whole, for the preview.
    MeshGeometryReader geometryReader = nullptr;
    qint64 wholeReadBudget = 0;
    // The name a picture decoder knows a texture's kind by.
    const char *imageFormat = nullptr;
    // Whether a file named with the extension is taken for this kind when its
    // content is recognised as no kind: a TGA has no signature.
    bool toldByName = false;
};

std::span<const FileFormat> fileFormats();

// The formats of a role, in the table's order.
QList<const FileFormat *> formatsOf(FileRole role);

// The entry of a role stored in an encoding; every pair the table holds is
// listed once.
const FileFormat &formatFor(FileRole role, Encoding encoding);

// The largest read budget of a role's formats, and the largest when read
// whole: what is read before the kind is known.
qint64 readBudgetOf(FileRole role);
qint64 wholeReadBudgetOf(FileRole role);

// The format of role whose extension fileName ends in, in any case (the
// longest first); nothing when none.
const FileFormat *formatNamed(const QString &fileName, FileRole role);

// Whether fileName ends in format's extension, in any case.
bool isNamedAs(const QString &fileName, const FileFormat &format);

// The first format of role whose detector recognises a file beginning with
// start, of fileSize bytes; nothing when none does.
const FileFormat *recognisedAs(FileRole role, const QByteArray &start, qint64 fileSize);

// The format of role that reads a file beginning with start, of fileSize
// bytes: the first of the role whose detector recognises it; when none does,
// the one whose encoding the first bytes show, so that its reader says what
// is wrong. Only for roles stored as text or binary.
const FileFormat &readerOf(FileRole role, const QByteArray &start, qint64 fileSize);

// The texture format of a file named fileName beginning with start: the one
// recognised by content, else the one its name tells when that kind has no
// signature; nothing when neither.
const FileFormat *textureFormatOf(const QString &fileName, const QByteArray &start,
                                  qint64 fileSize);

// The texture the game loads.
const FileFormat &gameTextureFormat();

// The extensions of a role's files, longest first, so that ".cmx.bcf" is
// tried before ".cmx".
QStringList extensionsOf(FileRole role);

// The names a file called name (without extension) has in each of a role's
// formats, in the table's order ("lgt.bmp", "lgt.tga").
QStringList fileNamesOf(const QString &name, FileRole role);

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
