#include "compose/filesummary.h"

#include "compose/inputfiles.h"
#include "compose/linelist.h"

namespace kelvane {

namespace {

template <class T> Result<T> namingTheFile(Result<T> summary, const QString &path)
{
    if (summary.ok())
        return summary;
    return Failure{inputFileFault(path, summary.error())};
}

} // namespace

Result<QList<Skin>> summarizeCharacterFile(const QString &path)
{
    const Result<QByteArray> read = readCharacterFile(path);
    if (!read.ok())
        return Failure{read.error()};
    return namingTheFile(skinsOf(splitCharacterFile(read.value())), path);
}

Result<Skin> summarizeMeshFile(const QString &path)
{
    const Result<QByteArray> read = readMeshFileStart(path);
    if (!read.ok())
        return Failure{read.error()};
    return namingTheFile(attachedSkinOf(splitLines(read.value())), path);
}

} // namespace kelvane
