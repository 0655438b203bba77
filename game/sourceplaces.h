#pragma once

#include "inputs/archivenames.h"
#include "inputs/inputfiles.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kelvane {

// One place a file is looked for by name.
struct SourcePlace {
    enum class Kind {
        Folder,        // a loose folder
        ArchiveFolder, // one folder inside an archive
        Archive,       // a whole archive, its entries by file name in any folder
        GameArchives,  // every archive under a game folder, listed when first reached
    };
    Kind kind = Kind::Folder;
    QString path;  // the folder or the archive
    QString inner; // the folder inside the archive, "/" between names
    int game = -1; // index of the game folder it belongs to; -1 for none

    // The place of a file: a loose file's folder, an archive entry's folder
    // inside its archive.
    static SourcePlace holding(const QString &filePath);
};

// A file found by name, ready to be read without looking it up again.
struct FoundSource {
    InputFile file;
    SourcePlace place;
};

// What one search found, and every place it looked in, in order, as shown
// to the player.
struct SourceSearch {
    std::optional<FoundSource> found;
    QStringList looked;
};

// The places the game looks for the files a character file needs, in the
// game's order: beside the character file (its folder, or its folder inside
// its archive); then per game folder, the character file's own first,
// GameData/Skins, ExpansionShared/SkinsBuy and every archive under it, the
// character file's own archive first. Names match in any case, the exact spelling first.
// Each folder is listed once and each archive's manifest indexed once, when
// a search first reaches it; places that do not exist are left out.
class SourcePlaces final
{
    Q_DISABLE_COPY_MOVE(SourcePlaces)

public:
    SourcePlaces(const QString &characterPath, const QStringList &gameFolders);

    // The game folder the character file belongs to; empty when none.
    const QString &ownGame() const { return m_ownGame; }

    // The first file called one of names, the names tried in order at each
    // place: at first (when given), then at every place in order.
    SourceSearch find(const QStringList &names, const std::optional<SourcePlace> &first = {});

    // The files select picks from the file names at a place, each found
    // there: at the first place, in the order of find(), where it picks any,
    // or at every place.
    using Selector = std::function<QStringList(const QStringList &fileNames)>;
    struct Selection {
        QList<FoundSource> found;
        QStringList looked;
    };
    enum class Reach { FirstPlace, EveryPlace };
    Selection findSelected(const Selector &select, const std::optional<SourcePlace> &first = {},
                           Reach reach = Reach::FirstPlace);

    // Whether place lies in a game other than the character file's own,
    // where that game never looks.
    bool inOtherGame(const SourcePlace &place) const;
    static QString shown(const SourcePlace &place);

    // Archives that could not be read, each with why.
    const QStringList &problems() const { return m_problems; }

private:
    // A loose folder's files by case-folded name (the first listed of names
    // that differ only in case), and the names that share their folded name
    // with another, as spelled.
    struct FolderNames {
        QHash<QString, QString> folded;
        QSet<QString> sharing;
    };

    void add(const SourcePlace &place);
    static QString identity(const SourcePlace &place);
    void expandGameArchives(qsizetype index);
    // Calls look at each place in order until it returns true.
    void lookThrough(const std::function<bool(const SourcePlace &)> &look,
                     const std::optional<SourcePlace> &first);
    std::optional<InputFile> findAt(const SourcePlace &place, const QString &name);
    QStringList fileNamesAt(const SourcePlace &place);
    const FolderNames &folderNames(const QString &folder);
    std::optional<InputFile> findInFolder(const QString &folder, const QString &name);
    const NamedArchive *archiveAt(const QString &path);

    QString m_ownGame;
    QStringList m_games;
    QList<SourcePlace> m_places;
    QStringList m_placeIdentities; // one per place

    QHash<QString, FolderNames> m_folders;
    QHash<QString, std::optional<NamedArchive>> m_archives;
    QStringList m_problems;
};

} // namespace kelvane
