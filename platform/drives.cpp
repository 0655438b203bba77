#include "platform/drives.h"

#include "base/gamefoldernames.h"
#include "platform/gamesearch.h"
#include "platform/systempaths.h"
#include "platform/wineprefix.h"

#include <QDir>
#include <QHash>
#include <QMutex>
#include <QStorageInfo>

#include <algorithm>

namespace kelvane {

namespace {

QString withLabel(const QString &root, const QStorageInfo &volume)
{
    const QString label = volume.isValid() ? volume.name() : QString();
    return label.isEmpty() ? root : root + QStringLiteral(" [") + label + QLatin1Char(']');
}

const QString kGameEntryStart = QStringLiteral("The Sims");

QString gameEntryEnd()
{
    return QStringLiteral(": ") + gameSkinsPath().join(pathSeparator());
}

// The game folders' entries ever listed, the folders they open and which
// copy each is. Kept for entries no longer found too, so that a list still
// showing one can tell the drive its folder was on.
struct GameEntry {
    QString folder;
    QString copy;
};

struct GameEntries {
    QMutex mutex;
    QHash<QString, GameEntry> known;
};

GameEntries &gameEntries()
{
    static GameEntries entries;
    return entries;
}

// A copy named by the search, or else by the tag in the game's name.
QString copyOf(const GameFolder &game)
{
    if (!game.copy.isEmpty())
        return game.copy;
    const qsizetype open = game.name.indexOf(u'(');
    return open < 0 ? QStringLiteral("CD") : game.name.mid(open + 1).chopped(1);
}

std::optional<GameEntry> knownGameEntry(const QString &driveText)
{
    GameEntries &entries = gameEntries();
    const QMutexLocker lock(&entries.mutex);
    const auto known = entries.known.constFind(driveText);
    return known == entries.known.cend() ? std::nullopt : std::optional<GameEntry>(*known);
}

#ifndef Q_OS_WIN
bool isUserVolume(const QStorageInfo &volume)
{
    static const QStringList mountPlaces = {QStringLiteral("/media/"), QStringLiteral("/mnt/"),
                                            QStringLiteral("/run/media/"),
                                            QStringLiteral("/Volumes/")};
    static const QStringList pseudoTypes = {QStringLiteral("tmpfs"),   QStringLiteral("devtmpfs"),
                                            QStringLiteral("proc"),    QStringLiteral("sysfs"),
                                            QStringLiteral("autofs"),  QStringLiteral("cgroup"),
                                            QStringLiteral("cgroup2"), QStringLiteral("devpts"),
                                            QStringLiteral("overlay"), QStringLiteral("squashfs")};
    const QString root = volume.rootPath();
    const bool inMountPlace =
        std::any_of(mountPlaces.cbegin(), mountPlaces.cend(),
                    [&root](const QString &place) { return root.startsWith(place); });
    return inMountPlace && !pseudoTypes.contains(QString::fromLatin1(volume.fileSystemType()));
}
#endif

} // namespace

QStringList browsableDrives()
{
    QStringList drives;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives()) {
        const QString root = drive.absoluteFilePath();
        drives.append(withLabel(root.left(2).toLower(), QStorageInfo(root)));
    }
#else
    for (const WinePrefix::Drive &drive : WinePrefix::inUse().drives())
        drives.append(WinePrefix::driveText(drive.letter));
    drives.append(withLabel(QStringLiteral("/"), QStorageInfo(QStringLiteral("/"))));
    QStringList volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (isUserVolume(volume))
            volumes.append(withLabel(volume.rootPath(), volume));
    }
    volumes.sort(Qt::CaseInsensitive);
    drives.append(volumes);
#endif
    drives.append(gameDriveEntries(GameSearch::shared().games()));
    return drives;
}

QStringList gameDriveEntries(const QList<GameFolder> &games)
{
    QStringList texts;
    QHash<QString, GameEntry> found;
    for (const GameFolder &game : games) {
        texts.append(game.name + gameEntryEnd());
        found.insert(texts.constLast(), {game.skins, copyOf(game)});
        // The game's own characters, inside its archives: "The Sims: ExpansionShared\...".
        if (!game.characters.isEmpty()) {
            const QString inside =
                QDir(game.folder).relativeFilePath(QDir::fromNativeSeparators(game.characters));
            texts.append(game.name + QStringLiteral(": ") + QDir::toNativeSeparators(inside));
            found.insert(texts.constLast(), {game.characters, copyOf(game)});
        }
    }
    GameEntries &entries = gameEntries();
    const QMutexLocker lock(&entries.mutex);
    entries.known.insert(found);
    return texts;
}

std::optional<QString> gameEntryFolder(const QString &driveText)
{
    if (!driveText.startsWith(kGameEntryStart) || !driveText.contains(QStringLiteral(": ")))
        return std::nullopt;
    const std::optional<GameEntry> entry = knownGameEntry(driveText);
    return entry ? std::optional<QString>(entry->folder) : std::nullopt;
}

QString gameEntryCopy(const QString &driveText)
{
    if (!driveText.startsWith(kGameEntryStart) || !driveText.contains(QStringLiteral(": ")))
        return {};
    const std::optional<GameEntry> entry = knownGameEntry(driveText);
    return entry ? entry->copy : QString();
}

} // namespace kelvane
