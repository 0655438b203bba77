#include "inputs/archivenames.h"

#include "base/keptwhileunchanged.h"
#include "inputs/archivepath.h"

namespace kelvane {

namespace {

// Enough for every archive of a game and its expansions; each costs about as
// much memory as the archive's manifest.
constexpr qsizetype kIndexesKept = 32;

NamedArchive indexed(const FarArchive &archive)
{
    NamedArchive named{archive, {}};
    const QList<FarEntry> &entries = archive.entries();
    named.byFileName.reserve(entries.size());
    // From the last entry back, so that the first of a name stays.
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        const QString &name = entries[i].name;
        named.byFileName.insert(name.mid(name.lastIndexOf(QLatin1Char('/')) + 1).toCaseFolded(), i);
    }
    return named;
}

} // namespace

const FarEntry *NamedArchive::findFileName(const QString &fileName) const
{
    const auto found = byFileName.constFind(fileName.toCaseFolded());
    return found == byFileName.cend() ? nullptr : &archive.entries()[*found];
}

Result<NamedArchive> openNamedArchive(const QString &path, const FileStamp &stamp)
{
    static KeptWhileUnchanged<NamedArchive> kept(kIndexesKept);
    if (std::optional<NamedArchive> known = kept.find(path, stamp))
        return std::move(*known);
    const Result<FarArchive> opened = openArchive(ArchivePath{path, {}, stamp});
    if (!opened.ok())
        return Failure{opened.error()};
    NamedArchive named = indexed(opened.value());
    kept.keep(path, stamp, named);
    return named;
}

} // namespace kelvane
