#include "foldercheck/gamefiles.h"

#include "base/filekind.h"
#include "game/gamelayout.h"
#include "inputs/archivepath.h"

#include <QDirIterator>
#include <QFileInfo>

namespace kelvane {

namespace {

class Lister
{
public:
    explicit Lister(GameFiles &out) : m_out(out) {}

    void addName(const QString &name)
    {
        const QString folded = name.toCaseFolded();
        if (!m_seen.contains(folded)) {
            m_seen.insert(folded);
            m_out.names.append(name);
        }
    }

    void addFolder(const QString &folder)
    {
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden); it.hasNext();) {
            it.next();
            const QString name = it.fileName();
            m_out.loose.insert(name.toCaseFolded(), it.filePath());
            addName(name);
        }
    }

    void addArchive(const QString &path)
    {
        const QString identity = fileIdentity(path);
        if (m_archives.contains(identity))
            return;
        m_archives.insert(identity);
        const Result<FarArchive> archive = openArchive(path);
        if (!archive.ok()) {
            m_out.problems.append(archive.error());
            return;
        }
        for (const FarEntry &entry : archive.value().entries()) {
            const QString name = entry.name.section(QLatin1Char('/'), -1);
            m_out.archived.insert(name.toCaseFolded());
            addName(name);
        }
    }

private:
    GameFiles &m_out;
    QSet<QString> m_seen;
    QSet<QString> m_archives;
};

} // namespace

QStringList gamesFor(const QString &folder, const QStringList &gameFolders)
{
    if (const QString own = gameFolderHolding(folder); !own.isEmpty())
        return {own};
    QStringList games;
    QSet<QString> identities;
    for (const QString &game : gameFolders) {
        const QString identity = fileIdentity(game);
        if (!game.isEmpty() && !identity.isEmpty() && !identities.contains(identity)) {
            identities.insert(identity);
            games.append(game);
        }
    }
    return games;
}

GameFiles gameFilesOf(const QStringList &games, const std::function<bool()> &cancelled)
{
    GameFiles out;
    out.games = games;
    Lister lister(out);
    for (const QString &game : games) {
        for (const QString &folder : looseSkinFoldersOf(game))
            lister.addFolder(folder);
        for (const QString &archive : archivesUnder(game)) {
            if (cancelled && cancelled())
                return out;
            lister.addArchive(archive);
        }
    }
    return out;
}

} // namespace kelvane
