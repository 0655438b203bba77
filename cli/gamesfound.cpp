#include "cli/gamesfound.h"

#include "game/gamelayout.h"
#include "platform/gamefolders.h"

namespace kelvane {

QStringList GamesFound::forOutputFolder(const QString &folder)
{
    if (!gameFolderHolding(folder).isEmpty())
        return {};
    if (!m_found) {
        m_found.emplace();
        for (const GameFolder &game : findGameFolders())
            m_found->append(game.folder);
    }
    return *m_found;
}

} // namespace kelvane
