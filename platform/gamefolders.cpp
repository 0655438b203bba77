#include "platform/gamefolders.h"

#include "base/filekind.h"
#include "base/gamefoldernames.h"
#include "platform/keyvalues.h"
#include "platform/searchedsystems.h"
#include "platform/systempaths.h"
#include "platform/wineprefix.h"
#include "platform/wineprefixes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <map>

namespace kelvane {

namespace {

enum class Edition { Original, Steam, EaApp };

// How a place names a folder: a registry value, a folder under each Program
// Files folder, or a folder under the user's home off Windows.
enum class Look { Registry, ProgramFiles, Home };

struct Place {
    Edition edition; // for Steam, the folder of a Steam client whose libraries may hold the game
    Look look;
    const char *where;
    const char *value = nullptr;
};

// Where players' guides say the game is. Registry keys begin with their hive;
// folders are written as the system of the place writes them.
const Place kPlaces[] = {
    {Edition::Original, Look::Registry,
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Maxis\\The Sims", "InstallPath"},
    {Edition::Original, Look::Registry, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Maxis\\The Sims",
     "InstallPath"},
    {Edition::Original, Look::ProgramFiles, "Maxis\\The Sims"},
    {Edition::EaApp, Look::ProgramFiles, "EA Games\\The Sims Legacy"},
    {Edition::Steam, Look::Registry, "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Valve\\Steam",
     "InstallPath"},
    {Edition::Steam, Look::Registry, "HKEY_CURRENT_USER\\Software\\Valve\\Steam", "SteamPath"},
    {Edition::Steam, Look::ProgramFiles, "Steam"},
    {Edition::Steam, Look::Home, ".steam/steam"},
    {Edition::Steam, Look::Home, ".local/share/Steam"},
};
// Below a Steam client's folder its list of libraries; below each library the
// game (the Legacy Collection, app 3314060); below the game's folder its
// skins. Steam's folders are looked up in the spellings Steam has used.
const QStringList kSteamApps = {QStringLiteral("steamapps"), QStringLiteral("SteamApps")};
constexpr QLatin1StringView kLibraryList("libraryfolders.vdf");
const QList<QStringList> kSteamGame = {
    kSteamApps, {QStringLiteral("common")}, {QStringLiteral("The Sims Legacy Collection")}};

// A list of libraries runs to a few kilobytes; no one has more libraries
// than drives.
constexpr qint64 kMaxLibraryListSize = 1024 * 1024;
constexpr qsizetype kMaxLibraries = 64;

QString editionTag(Edition edition)
{
    switch (edition) {
    case Edition::Steam:
        return QStringLiteral("Steam");
    case Edition::EaApp:
        return QStringLiteral("EA app");
    case Edition::Original:
        break;
    }
    return {};
}

// The folder below base named by one of the spellings of each level. Each
// spelling is looked up on its own, never by listing a folder: a library may
// be the root of a drive holding thousands of entries. Empty when there is none.
QString folderBelow(const QString &base, const QList<QStringList> &levels)
{
    QString path = base;
    for (const QStringList &spellings : levels) {
        const QDir folder(path);
        path.clear();
        for (const QString &name : spellings) {
            if (QFileInfo(folder.filePath(name)).isDir()) {
                path = folder.filePath(name);
                break;
            }
        }
        if (path.isEmpty())
            return {};
    }
    return path;
}

// The libraries a Steam client lists, as it writes them: "path" of each
// numbered block, or in the older format the numbered values themselves.
// A list that is no regular file or is too large is left unread, with a note.
QStringList steamLibraryPaths(const QString &steamFolder, QStringList &notes)
{
    const QString apps = folderBelow(steamFolder, {kSteamApps});
    if (apps.isEmpty())
        return {};
    const QString listPath = QDir(apps).filePath(kLibraryList);
    // Looked at without opening it, so that nothing can make the search wait.
    const QFileInfo info(listPath);
    if (!info.exists())
        return {};
    const QString shown = QDir::toNativeSeparators(listPath);
    if (!info.isFile()) {
        notes.append(QStringLiteral("%1: not a regular file, left unread").arg(shown));
        return {};
    }
    if (info.size() > kMaxLibraryListSize) {
        notes.append(QStringLiteral("%1: left unread, larger than a list of libraries can be "
                                    "(%2 MB)")
                         .arg(shown)
                         .arg(kMaxLibraryListSize / (1024 * 1024)));
        return {};
    }
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly))
        return {};
    QStringList paths;
    for (const KeyValue &top : parseKeyValues(list.readAll())) {
        for (const KeyValue &library : top.block) {
            bool numbered = false;
            library.key.toUInt(&numbered);
            if (!numbered)
                continue;
            if (!library.isBlock)
                paths.append(library.value);
            for (const KeyValue &field : library.block) {
                if (!field.isBlock && field.key.compare(u"path", Qt::CaseInsensitive) == 0)
                    paths.append(field.value);
            }
        }
    }
    return paths;
}

// What tells two paths as a system writes them apart: the clean path with
// forward slashes, case folded where the system ignores case.
QString writtenPathKey(QString path, Qt::CaseSensitivity pathCase)
{
    path = QDir::cleanPath(path.replace(u'\\', u'/'));
    return pathCase == Qt::CaseSensitive ? path : path.toCaseFolded();
}

// Collects the game folders of the places, each once. Every Steam client and
// every library is looked at once, however many places or lists name it.
class Finder
{
public:
    void lookIn(const SearchedSystem &system)
    {
        for (const Place &place : kPlaces) {
            const QString where = QLatin1StringView(place.where);
            QStringList paths;
            if (place.look == Look::Registry && system.registry)
                paths.append(system.registry(where, QLatin1StringView(place.value)));
            for (const QString &programFiles : system.programFiles) {
                if (place.look == Look::ProgramFiles)
                    paths.append(programFiles + u'\\' + where);
            }
            if (place.look == Look::Home && !system.home.isEmpty())
                paths.append(QDir(system.home).filePath(where));

            for (const QString &path : std::as_const(paths)) {
                const QString folder = path.isEmpty() ? QString() : system.folder(path);
                if (folder.isEmpty())
                    continue;
                if (place.edition == Edition::Steam)
                    lookInSteam(system, folder);
                else
                    add(folder, place.edition);
            }
        }
        m_notes.append(system.notes);
    }

    // Named by edition; a second one of an edition is numbered.
    QList<GameFolder> games() const
    {
        QList<GameFolder> games;
        std::map<Edition, int> counts;
        for (const auto &[edition, game] : m_found) {
            const int count = ++counts[edition];
            const QString tag = editionTag(edition);
            QStringList tags{tag};
            tags.removeAll(QString());
            if (count > 1)
                tags.append(QString::number(count));
            GameFolder named = game;
            named.copy = count > 1       ? QFileInfo(game.folder).fileName()
                         : tag.isEmpty() ? QStringLiteral("CD")
                                         : tag;
            named.name = QStringLiteral("The Sims");
            if (!tags.isEmpty())
                named.name += QStringLiteral(" (") + tags.join(u' ') + u')';
            games.append(named);
        }
        return games;
    }

    QStringList notes() const { return m_notes; }

private:
    // The client's own library first, then those its list names.
    void lookInSteam(const SearchedSystem &system, const QString &client)
    {
        if (!firstLook(client, m_clients))
            return;
        if (firstLook(client, m_libraries))
            lookInLibrary(client);
        QSet<QString> written;
        for (const QString &library : steamLibraryPaths(client, m_notes)) {
            if (library.isEmpty() || written.contains(writtenPathKey(library, system.pathCase)))
                continue;
            if (written.size() == kMaxLibraries) {
                m_notes.append(QStringLiteral("%1: only the first %2 libraries are looked at")
                                   .arg(QDir::toNativeSeparators(client))
                                   .arg(kMaxLibraries));
                break;
            }
            written.insert(writtenPathKey(library, system.pathCase));
            if (const QString local = system.folder(library); firstLook(local, m_libraries))
                lookInLibrary(local);
        }
    }

    void lookInLibrary(const QString &library)
    {
        if (const QString game = folderBelow(library, kSteamGame); !game.isEmpty())
            add(game, Edition::Steam);
    }

    // Whether the folder exists and is not in looked yet; it is then.
    static bool firstLook(const QString &folder, QSet<QString> &looked)
    {
        const QString canonical =
            folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty())
            return false;
        const QString key =
            pathCaseSensitivity() == Qt::CaseSensitive ? canonical : canonical.toCaseFolded();
        if (looked.contains(key))
            return false;
        looked.insert(key);
        return true;
    }

    void add(const QString &folder, Edition edition)
    {
        // Off Windows a name that does not exist as written is matched
        // without regard to case, as Windows would.
        const QString skins = subfolderNamed(folder, gameSkinsPath());
        if (skins.isEmpty())
            return;
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        const QString seen =
            pathCaseSensitivity() == Qt::CaseSensitive ? canonical : canonical.toCaseFolded();
        if (canonical.isEmpty() || m_seen.contains(seen))
            return;
        m_seen.insert(seen);
        m_found.append({edition,
                        {{},
                         QDir::toNativeSeparators(canonical),
                         QDir::toNativeSeparators(QFileInfo(skins).canonicalFilePath())}});
    }

    QList<std::pair<Edition, GameFolder>> m_found;
    QSet<QString> m_seen;
    QSet<QString> m_clients;
    QSet<QString> m_libraries;
    QStringList m_notes;
};

} // namespace

QList<GameFolder> findGameFolders(QStringList *notes)
{
    Finder finder;
#ifdef Q_OS_WIN
    finder.lookIn(windowsItself());
#else
    QStringList registryKeys;
    for (const Place &place : kPlaces) {
        if (place.look == Look::Registry)
            registryKeys.append(QLatin1StringView(place.where));
    }
    for (const KnownPrefix &prefix : knownWinePrefixes())
        finder.lookIn(winePrefix(prefix.folder, registryKeys));
    finder.lookIn(ownSystem());
#endif
    if (notes)
        *notes = finder.notes();
    return finder.games();
}

QStringList gameSearchPlaces()
{
    QStringList folders, homes;
    for (const Place &place : kPlaces) {
        if (place.look == Look::ProgramFiles)
            folders.append(QLatin1StringView(place.where));
        if (place.look == Look::Home)
            homes.append(QStringLiteral("~/") + QLatin1StringView(place.where));
    }
    const QString windows = QStringLiteral("the registry, Program Files (%1) and Steam's libraries")
                                .arg(folders.join(QStringLiteral(", ")));
#ifdef Q_OS_WIN
    return {windows};
#else
    QStringList places;
    const KnownPrefix inUse = prefixInUse();
    if (WinePrefix(inUse.folder).drives().isEmpty())
        places.append(QStringLiteral("the Wine prefix %1 (%2): no such prefix")
                          .arg(inUse.folder, inUse.keeper));
    for (const KnownPrefix &prefix : knownWinePrefixes())
        places.append(QStringLiteral("the Wine prefix %1 (%2): %3")
                          .arg(prefix.folder, prefix.keeper, windows));
    places.append(
        QStringLiteral("Steam's libraries listed in %1").arg(homes.join(QStringLiteral(", "))));
    return places;
#endif
}

} // namespace kelvane
