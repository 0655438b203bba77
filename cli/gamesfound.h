#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// The games a new file is checked against for a character of theirs it takes
// the place of. A file written inside a game folder is checked against that
// game alone, so this machine's games are searched only for one written
// elsewhere, and then once per run.
class GamesFound final
{
public:
    QStringList forOutputFolder(const QString &folder);

private:
    std::optional<QStringList> m_found;
};

} // namespace kelvane
