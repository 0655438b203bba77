#include "compose/archivenames.h"

#include "compose/archivepath.h"

#include <QDir>
#include <QList>
#include <QMutex>

namespace kelvane {

namespace {

struct KeptIndex {
    QString path;
    FileStamp stamp;
    NamedArchive named;
};

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
    static QMutex mutex;
    static QList<KeptIndex> kept;

    const QString key = QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
    {
        const QMutexLocker lock(&mutex);
        for (qsizetype i = 0; i < kept.size(); ++i) {
            if (kept[i].path == key && kept[i].stamp == stamp) {
                kept.move(i, 0);
                return kept.first().named;
            }
        }
    }
    const Result<FarArchive> opened = openArchive(ArchivePath{path, {}, stamp});
    if (!opened.ok())
        return Failure{opened.error()};
    NamedArchive named = indexed(opened.value());
    const QMutexLocker lock(&mutex);
    kept.removeIf([&key](const KeptIndex &each) { return each.path == key; });
    kept.prepend({key, stamp, named});
    if (kept.size() > kIndexesKept)
        kept.removeLast();
    return named;
}

} // namespace kelvane
