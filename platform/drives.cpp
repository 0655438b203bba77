#include "platform/drives.h"

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
    return QStringLiteral(": GameData") + pathSeparator() + QStringLiteral("Skins");
}

// The game folders' entries ever listed, and the folders they open. Kept for
// entries no longer found too, so that a list still showing one can tell the
// drive its folder was on.
struct GameEntries {
    QMutex mutex;
    QHash<QString, QString> folders;
};

GameEntries &gameEntries()
{
    static GameEntries entries;
    return entries;
}

QStringList listGameEntries()
{
    QStringList texts;
    QHash<QString, QString> found;
    for (const GameFolder &game : GameSearch::shared().games()) {
        texts.append(game.name + gameEntryEnd());
        found.insert(texts.constLast(), game.skins);
        // The game's own characters, inside its archives: "The Sims: ExpansionShared\...".
        if (!game.characters.isEmpty()) {
            const QString inside =
                QDir(game.folder).relativeFilePath(QDir::fromNativeSeparators(game.characters));
            texts.append(game.name + QStringLiteral(": ") + QDir::toNativeSeparators(inside));
            found.insert(texts.constLast(), game.characters);
        }
    }
    GameEntries &entries = gameEntries();
    const QMutexLocker lock(&entries.mutex);
    entries.folders.insert(found);
    return texts;
}

std::optional<QString> knownGameEntry(const QString &driveText)
{
    GameEntries &entries = gameEntries();
    const QMutexLocker lock(&entries.mutex);
    const auto known = entries.folders.constFind(driveText);
    return known == entries.folders.cend() ? std::nullopt : std::optional<QString>(*known);
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
    drives.append(listGameEntries());
    return drives;
}

std::optional<QString> gameEntryFolder(const QString &driveText)
{
    if (!driveText.startsWith(kGameEntryStart) || !driveText.contains(QStringLiteral(": ")))
        return std::nullopt;
    return knownGameEntry(driveText);
}

} // namespace kelvane
