#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

namespace kelvane {

// What the game holds beside a checked folder, by file name: the loose files
// of its GameData/Skins and ExpansionShared/SkinsBuy, and the entries of its
// archives, which count as present.
struct GameFiles {
    QStringList games;
    // Case-folded file name to a loose file of that name.
    QHash<QString, QString> loose;
    // Case-folded file names of the archives' entries (without their folders).
    QSet<QString> archived;
    // Every file name as spelled, loose and archived, each once.
    QStringList names;
    // Archives that could not be read, each with why.
    QStringList problems;
};

// The game folders that count for folder: the game folder holding it, or
// else every one of gameFolders.
QStringList gamesFor(const QString &folder, const QStringList &gameFolders);

// Lists what games hold. Stops early, with what it had, when cancelled says so.
GameFiles gameFilesOf(const QStringList &games, const std::function<bool()> &cancelled = {});

} // namespace kelvane
