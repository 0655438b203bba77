#include "controls/archivefolder.h"

#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "game/gamelayout.h"
#include "inputs/archivecharacters.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <map>

namespace kelvane {

namespace {

// The names of an entry's folders and its own name; nothing for a name that
// climbs out of its folder, which no folder of the list can show.
std::optional<QStringList> namesOf(const QString &entryName)
{
    const QStringList names = entryName.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &name : names) {
        if (name == QLatin1StringView(".") || name == QLatin1StringView(".."))
            return std::nullopt;
    }
    return names;
}

bool startsWithFolder(const QStringList &names, const QStringList &folder)
{
    if (names.size() <= folder.size())
        return false;
    for (qsizetype k = 0; k < folder.size(); ++k) {
        if (names[k].compare(folder[k], Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

// Names listed once whatever their case, as the archive finds them.
class NameList
{
public:
    void add(const QString &name)
    {
        if (!m_seen.contains(name.toCaseFolded())) {
            m_seen.insert(name.toCaseFolded());
            m_names.append(name);
        }
    }
    QStringList sorted() &&
    {
        std::sort(m_names.begin(), m_names.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        return std::move(m_names);
    }

private:
    QSet<QString> m_seen;
    QStringList m_names;
};

} // namespace

Result<ArchiveFolder> readArchiveFolder(const ArchivePath &where)
{
    const FileStamp stamp = fileStamp(where.archive);
    const Result<FarArchive> archive = openArchive(ArchivePath{where.archive, {}, stamp});
    if (!archive.ok())
        return Failure{archive.error()};
    // Skeletons and animations named as character files are no files to choose.
    const QSet<qsizetype> others = entriesHoldingNoCharacter(archive.value(), stamp);

    const QStringList folder = where.inner.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // Each of the folder's names as the first entry under it spells it, as
    // the folder above lists it.
    QStringList spelt(folder.size());
    NameList folders;
    NameList files;
    bool found = folder.isEmpty();
    const QList<FarEntry> &entries = archive.value().entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::optional<QStringList> names = namesOf(entries[i].name);
        if (!names)
            continue;
        for (qsizetype k = 0; k < folder.size() && k + 1 < names->size() &&
                              (*names)[k].compare(folder[k], Qt::CaseInsensitive) == 0;
             ++k) {
            if (spelt[k].isEmpty())
                spelt[k] = (*names)[k];
        }
        if (!startsWithFolder(*names, folder))
            continue;
        found = true;
        const QString &name = (*names)[folder.size()];
        if (names->size() > folder.size() + 1)
            folders.add(name);
        else if (!others.contains(i))
            files.add(name);
    }
    if (!found)
        return Failure{QStringLiteral("%1: the archive holds no folder %2.")
                           .arg(shownName(where.archive), shownName(where.inner))};
    ArchiveFolder shown{spelt.join(QLatin1Char('/')), {}, {}};
    shown.folders = std::move(folders).sorted();
    shown.files = std::move(files).sorted();
    return shown;
}

QString characterFolderOf(const QString &gameFolder)
{
    QString best;
    qsizetype bestCount = 0;
    for (const QString &path : archivesUnder(gameFolder)) {
        const FileStamp stamp = fileStamp(path);
        const Result<FarArchive> archive = openArchive(ArchivePath{path, {}, stamp});
        if (!archive.ok())
            continue;
        const QSet<qsizetype> others = entriesHoldingNoCharacter(archive.value(), stamp);
        // Each folder by its folded name, with its first spelling and count.
        std::map<QString, std::pair<QString, qsizetype>> folders;
        const QList<FarEntry> &entries = archive.value().entries();
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (ownNameOf(entries[i].name).isEmpty() || others.contains(i))
                continue;
            const QString folder =
                entries[i].name.left(qMax<qsizetype>(0, entries[i].name.lastIndexOf(u'/')));
            auto &[spelt, count] = folders[folder.toCaseFolded()];
            if (count++ == 0)
                spelt = folder;
        }
        for (const auto &[key, folder] : folders) {
            const auto &[spelt, count] = folder;
            if (count > bestCount) {
                best = archiveFolderPath(QDir::toNativeSeparators(path), spelt);
                bestCount = count;
            }
        }
    }
    return best;
}

QString archiveFolderPath(const QString &archive, const QString &inner)
{
    if (inner.isEmpty())
        return archive;
    return archive + QDir::separator() + QDir::toNativeSeparators(inner);
}

} // namespace kelvane
