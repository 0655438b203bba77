#include "inputs/filesummary.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "formats/characterformat.h"
#include "inputs/inputfiles.h"

#include <QLocale>

#include <algorithm>

namespace kelvane {

namespace {

template <class T> Result<T> namingTheFile(Result<T> summary, const QString &path)
{
    if (summary.ok())
        return summary;
    return Failure{inputFileFault(path, summary.error())};
}

} // namespace

Result<CharacterRead> readCharacter(const InputFile &input)
{
    Result<QByteArray> read = readCharacterFile(input);
    if (!read.ok())
        return Failure{read.error()};
    Result<Character> character = namingTheFile(characterOf(read.value()), input.path);
    if (!character.ok())
        return Failure{character.error()};
    return CharacterRead{std::move(read).value(), std::move(character).value()};
}

Result<Character> readCharacter(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    Result<CharacterRead> read = readCharacter(input.value());
    if (!read.ok())
        return Failure{read.error()};
    return std::move(read).value().character;
}

Result<QList<Skin>> summarizeCharacterFile(const QString &path)
{
    Result<Character> character = readCharacter(path);
    if (!character.ok())
        return Failure{character.error()};
    return std::move(character).value().skins;
}

Result<QList<Skin>> summarizeCharacterFile(const QString &path, qint64 maxBytes)
{
    // Looked at without opening it; what is no regular file is refused below.
    const FileStamp stamp = fileStamp(path);
    if (stamp.kind == FileKind::Regular && stamp.size > maxBytes)
        return Failure{QStringLiteral("%1: %2, larger than a character file is; not read")
                           .arg(shownName(path),
                                QLocale().formattedDataSize(stamp.size, 1,
                                                            QLocale::DataSizeTraditionalFormat))};
    return summarizeCharacterFile(path);
}

Result<Skin> summarizeMeshFile(const QString &path)
{
    const Result<Mesh> mesh = readMeshFile(path);
    if (!mesh.ok())
        return Failure{mesh.error()};
    return mesh.value().skin();
}

} // namespace kelvane
