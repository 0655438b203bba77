#pragma once

#include "platform/gamefolders.h"

#include <QMutex>
#include <QObject>
#include <QThreadPool>

#include <functional>

namespace kelvane {

// Looks for the game folders on a thread of its own, so that no window waits
// on a slow disk or a large registry file, and keeps what the last search
// found. One search runs at a time; a start meanwhile asks for one more after
// it, so that what it finds is as fresh as the start.
class GameSearch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GameSearch)

public:
    using Find = std::function<QList<GameFolder>(QStringList *notes)>;
    // The folder inside a game's archives holding its character files; reading
    // archives is beyond this layer, so the windows supply it.
    using CharacterFolder = std::function<QString(const QString &gameFolder)>;

    // The program's one search, made on first use on the program's thread.
    // The program starts it once at start and again only when asked; the
    // windows and their controls take what it finds and never start it.
    static GameSearch &shared();

    explicit GameSearch(Find find = findGameFolders, QObject *parent = nullptr);

    void start();
    bool running() const { return m_running; }

    // What the last search that ended found; none before one has.
    QList<GameFolder> games() const { return m_games; }
    // What the search finds, from any thread: once a search still running
    // ends, waiting up to waitMs for it; what the last one found if it takes
    // longer. Called off the windows' thread, since it blocks.
    QList<GameFolder> gamesOnceFound(int waitMs) const;
    // Why files were left unread by that search.
    QStringList notes() const { return m_notes; }

    // Tests put their own search in place of the shared one's.
    void setFind(Find find) { m_find = std::move(find); }
    // Fills in each game's characters from the next search on.
    void setCharacterFolder(CharacterFolder find) { m_characterFolder = std::move(find); }

signals:
    // A search ended; games() and notes() hold what it found.
    void finished();

private:
    void end(const QList<GameFolder> &games, const QStringList &notes);

    Find m_find;
    CharacterFolder m_characterFolder;
    // Its own, so that it can be waited for as this object goes.
    mutable QThreadPool m_pool;
    // What the last search found, as its thread left it.
    mutable QMutex m_foundLock;
    QList<GameFolder> m_found;
    QList<GameFolder> m_games;
    QStringList m_notes;
    bool m_running = false;
    bool m_again = false;
};

} // namespace kelvane
