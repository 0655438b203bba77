#include "platform/gamesearch.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace kelvane {

GameSearch &GameSearch::shared()
{
    // Owned by the application; a search still running is waited for as it ends.
    static QPointer<GameSearch> search;
    if (!search)
        search = new GameSearch(findGameFolders, QCoreApplication::instance());
    return *search;
}

GameSearch::GameSearch(Find find, QObject *parent) : QObject(parent), m_find(std::move(find))
{
    m_pool.setMaxThreadCount(1);
}

void GameSearch::start()
{
    if (m_running) {
        m_again = true;
        return;
    }
    m_running = true;
    m_pool.start([this, find = m_find, characterFolder = m_characterFolder] {
        QStringList notes;
        QList<GameFolder> games = find(&notes);
        for (GameFolder &game : games) {
            if (characterFolder && game.characters.isEmpty())
                game.characters = characterFolder(game.folder);
        }
        {
            const QMutexLocker lock(&m_foundLock);
            m_found = games;
        }
        QMetaObject::invokeMethod(
            this, [this, games, notes] { end(games, notes); }, Qt::QueuedConnection);
    });
}

QList<GameFolder> GameSearch::gamesOnceFound(int waitMs) const
{
    m_pool.waitForDone(waitMs);
    const QMutexLocker lock(&m_foundLock);
    return m_found;
}

void GameSearch::end(const QList<GameFolder> &games, const QStringList &notes)
{
    m_running = false;
    m_games = games;
    for (const QString &note : notes) {
        if (!m_notes.contains(note))
            qWarning("%s", qUtf8Printable(note));
    }
    m_notes = notes;
    emit finished();
    if (m_again) {
        m_again = false;
        start();
    }
}

} // namespace kelvane
