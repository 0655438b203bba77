#include "controls/archivefolder.h"

#include "compose/messagetext.h"

#include <QDir>
#include <QSet>

#include <algorithm>

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
    const Result<FarArchive> archive = openArchive(where.archive);
    if (!archive.ok())
        return Failure{archive.error()};

    const QStringList folder = where.inner.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // Each of the folder's names as the first entry under it spells it, as
    // the folder above lists it.
    QStringList spelt(folder.size());
    NameList folders;
    NameList files;
    bool found = folder.isEmpty();
    for (const FarEntry &entry : archive.value().entries()) {
        const std::optional<QStringList> names = namesOf(entry.name);
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
        (names->size() == folder.size() + 1 ? files : folders).add(name);
    }
    if (!found)
        return Failure{QStringLiteral("%1: the archive holds no folder %2.")
                           .arg(shownName(where.archive), shownName(where.inner))};
    ArchiveFolder shown{spelt.join(QLatin1Char('/')), {}, {}};
    shown.folders = std::move(folders).sorted();
    shown.files = std::move(files).sorted();
    return shown;
}

QString archiveFolderPath(const QString &archive, const QString &inner)
{
    if (inner.isEmpty())
        return archive;
    return archive + QDir::separator() + QDir::toNativeSeparators(inner);
}

} // namespace kelvane
