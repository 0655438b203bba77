#include "compose/filesummary.h"

#include "compose/characterformat.h"
#include "compose/inputfiles.h"

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

Result<Character> readCharacter(const QString &path)
{
    const Result<QByteArray> read = readCharacterFile(path);
    if (!read.ok())
        return Failure{read.error()};
    return namingTheFile(characterOf(read.value()), path);
}

Result<QList<Skin>> summarizeCharacterFile(const QString &path)
{
    Result<Character> character = readCharacter(path);
    if (!character.ok())
        return Failure{character.error()};
    return std::move(character).value().skins;
}

Result<Skin> summarizeMeshFile(const QString &path)
{
    const Result<Mesh> mesh = readMeshFile(path);
    if (!mesh.ok())
        return Failure{mesh.error()};
    return mesh.value().skin();
}

Result<std::optional<Skin>> alreadyAttached(const QString &characterPath, const QString &meshPath)
{
    const Result<QList<Skin>> skins = summarizeCharacterFile(characterPath);
    if (!skins.ok())
        return Failure{skins.error()};
    const Result<Skin> attached = summarizeMeshFile(meshPath);
    if (!attached.ok())
        return Failure{attached.error()};
    const Skin &skin = attached.value();
    return holdsSkin(skins.value(), skin) ? std::optional<Skin>(skin) : std::nullopt;
}

} // namespace kelvane
