#include "game/sourceplaces.h"

#include "base/filekind.h"
#include "game/gamelayout.h"
#include "inputs/archivepath.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace kelvane {

namespace {

QString entryPath(const QString &archive, const FarEntry &entry)
{
    return QDir::toNativeSeparators(archive + QLatin1Char('/') + entry.name);
}

QString folderOf(const QString &innerPath)
{
    const qsizetype slash = innerPath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : innerPath.left(slash);
}

} // namespace

SourcePlace SourcePlace::holding(const QString &filePath)
{
    if (const std::optional<ArchivePath> inside = archivePathOf(filePath))
        return {Kind::ArchiveFolder, inside->archive, folderOf(inside->inner), -1};
    return {Kind::Folder, QFileInfo(filePath).absolutePath(), {}, -1};
}

SourcePlaces::SourcePlaces(const QString &characterPath, const QStringList &gameFolders)
{
    const SourcePlace beside = SourcePlace::holding(characterPath);
    add(beside);
    const bool inArchive = beside.kind == SourcePlace::Kind::ArchiveFolder;
    m_ownGame = gameFolderHolding(inArchive ? QFileInfo(beside.path).absolutePath() : beside.path);
    // The rest of the character file's archive: the first of its game's
    // archives, after the loose folders whose files take the place of the
    // archives' (or at once, for an archive of no game).
    const SourcePlace ownArchive{
        SourcePlace::Kind::Archive, beside.path, {}, m_ownGame.isEmpty() ? -1 : 0};
    if (inArchive && m_ownGame.isEmpty())
        add(ownArchive);

    QStringList games;
    QStringList identities;
    for (const QString &game : QStringList{m_ownGame} + gameFolders) {
        const QString identity = fileIdentity(game);
        if (game.isEmpty() || identity.isEmpty() || identities.contains(identity))
            continue;
        identities.append(identity);
        games.append(game);
    }
    for (int g = 0; g < games.size(); ++g) {
        for (const QString &folder : looseSkinFoldersOf(games[g]))
            add({SourcePlace::Kind::Folder, QFileInfo(folder).absoluteFilePath(), {}, g});
        if (inArchive && g == 0 && !m_ownGame.isEmpty())
            add(ownArchive);
        add({SourcePlace::Kind::GameArchives, games[g], {}, g});
    }
}

bool SourcePlaces::inOtherGame(const SourcePlace &place) const
{
    return !m_ownGame.isEmpty() && place.game > 0;
}

QString SourcePlaces::shown(const SourcePlace &place)
{
    if (place.kind == SourcePlace::Kind::ArchiveFolder && !place.inner.isEmpty())
        return QDir::toNativeSeparators(place.path + QLatin1Char('/') + place.inner);
    return QDir::toNativeSeparators(place.path);
}

QString SourcePlaces::identity(const SourcePlace &place)
{
    QString file = fileIdentity(place.path);
    if (file.isEmpty())
        file = QFileInfo(place.path).absoluteFilePath();
    switch (place.kind) {
    case SourcePlace::Kind::Folder:
        return QStringLiteral("folder:") + file;
    case SourcePlace::Kind::ArchiveFolder:
        return QStringLiteral("in:") + file + QStringLiteral("//") + place.inner.toCaseFolded();
    case SourcePlace::Kind::Archive:
        return QStringLiteral("archive:") + file;
    case SourcePlace::Kind::GameArchives:
        break;
    }
    return QStringLiteral("game:") + file;
}

void SourcePlaces::add(const SourcePlace &place)
{
    const QString key = identity(place);
    if (m_placeIdentities.contains(key))
        return;
    m_places.append(place);
    m_placeIdentities.append(key);
}

void SourcePlaces::expandGameArchives(qsizetype index)
{
    const SourcePlace game = m_places.takeAt(index);
    m_placeIdentities.removeAt(index);
    const QList<SourcePlace> tail = m_places.mid(index);
    const QStringList tailIdentities = m_placeIdentities.mid(index);
    m_places.resize(index);
    m_placeIdentities.resize(index);
    for (const QString &archive : archivesUnder(game.path))
        add({SourcePlace::Kind::Archive, archive, {}, game.game});
    m_places += tail;
    m_placeIdentities += tailIdentities;
}

void SourcePlaces::lookThrough(const std::function<bool(const SourcePlace &)> &look,
                               const std::optional<SourcePlace> &first)
{
    const QString firstIdentity = first ? identity(*first) : QString();
    if (first && look(*first))
        return;
    for (qsizetype i = 0; i < m_places.size(); ++i) {
        if (m_places[i].kind == SourcePlace::Kind::GameArchives) {
            expandGameArchives(i);
            if (i == m_places.size())
                break;
        }
        if (m_placeIdentities[i] != firstIdentity && look(m_places[i]))
            return;
    }
}

SourceSearch SourcePlaces::find(const QStringList &names, const std::optional<SourcePlace> &first)
{
    SourceSearch search;
    lookThrough(
        [&](const SourcePlace &place) {
            search.looked.append(shown(place));
            for (const QString &name : names) {
                if (std::optional<InputFile> file = findAt(place, name)) {
                    search.found = FoundSource{std::move(*file), place};
                    return true;
                }
            }
            return false;
        },
        first);
    return search;
}

SourcePlaces::Selection SourcePlaces::findSelected(const Selector &select,
                                                   const std::optional<SourcePlace> &first,
                                                   Reach reach)
{
    Selection selection;
    lookThrough(
        [&](const SourcePlace &place) {
            selection.looked.append(shown(place));
            for (const QString &name : select(fileNamesAt(place))) {
                if (std::optional<InputFile> file = findAt(place, name))
                    selection.found.append({std::move(*file), place});
            }
            return reach == Reach::FirstPlace && !selection.found.isEmpty();
        },
        first);
    return selection;
}

QStringList SourcePlaces::fileNamesAt(const SourcePlace &place)
{
    if (place.kind == SourcePlace::Kind::Folder) {
        const FolderNames &listed = folderNames(place.path);
        QStringList names = listed.folded.values();
        for (const QString &name : listed.sharing) {
            if (!names.contains(name))
                names.append(name);
        }
        return names;
    }
    const NamedArchive *named = archiveAt(place.path);
    if (!named)
        return {};
    QStringList names;
    const QString inner = place.inner.isEmpty() ? QString() : place.inner + QLatin1Char('/');
    for (const FarEntry &entry : named->archive.entries()) {
        const qsizetype slash = entry.name.lastIndexOf(QLatin1Char('/'));
        if (place.kind == SourcePlace::Kind::Archive)
            names.append(entry.name.mid(slash + 1));
        else if (slash + 1 == inner.size() && entry.name.startsWith(inner, Qt::CaseInsensitive))
            names.append(entry.name.mid(slash + 1));
    }
    return names;
}

std::optional<InputFile> SourcePlaces::findAt(const SourcePlace &place, const QString &name)
{
    if (place.kind == SourcePlace::Kind::Folder)
        return findInFolder(place.path, name);
    const NamedArchive *named = archiveAt(place.path);
    if (!named)
        return std::nullopt;
    const FarEntry *entry =
        place.kind == SourcePlace::Kind::Archive
            ? named->findFileName(name)
            : named->archive.find(place.inner.isEmpty() ? name
                                                        : place.inner + QLatin1Char('/') + name);
    if (!entry)
        return std::nullopt;
    return InputFile{entryPath(place.path, *entry), named->archive, *entry};
}

const SourcePlaces::FolderNames &SourcePlaces::folderNames(const QString &folder)
{
    auto listed = m_folders.find(folder);
    if (listed == m_folders.end()) {
        FolderNames names;
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden); it.hasNext();) {
            it.next();
            const QString fileName = it.fileName();
            const QString key = fileName.toCaseFolded();
            const auto known = names.folded.constFind(key);
            if (known == names.folded.cend()) {
                names.folded.insert(key, fileName);
            } else {
                names.sharing.insert(*known);
                names.sharing.insert(fileName);
            }
        }
        listed = m_folders.insert(folder, names);
    }
    return *listed;
}

std::optional<InputFile> SourcePlaces::findInFolder(const QString &folder, const QString &name)
{
    const FolderNames &listed = folderNames(folder);
    const QString fileName =
        listed.sharing.contains(name) ? name : listed.folded.value(name.toCaseFolded());
    if (fileName.isEmpty())
        return std::nullopt;
    const QString path = QDir::toNativeSeparators(QDir(folder).filePath(fileName));
    // A pipe or a device put in the file's place is never opened.
    if (fileKindOf(path) != FileKind::Regular)
        return std::nullopt;
    return InputFile{path, std::nullopt, {}};
}

const NamedArchive *SourcePlaces::archiveAt(const QString &path)
{
    auto kept = m_archives.find(path);
    if (kept == m_archives.end()) {
        std::optional<NamedArchive> named;
        const FileStamp stamp = fileStamp(path);
        if (stamp.kind == FileKind::Regular) {
            Result<NamedArchive> opened = openNamedArchive(path, stamp);
            if (opened.ok())
                named = std::move(opened).value();
            else
                m_problems.append(opened.error());
        }
        kept = m_archives.insert(path, named);
    }
    return kept->has_value() ? &**kept : nullptr;
}

} // namespace kelvane
