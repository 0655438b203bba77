#include "platform/drives.h"

#include "platform/wineprefix.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace kelvane {

namespace {

QString withLabel(const QString &root, const QStorageInfo &volume)
{
    const QString label = volume.isValid() ? volume.name() : QString();
    return label.isEmpty() ? root : root + QStringLiteral(" [") + label + QLatin1Char(']');
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
    return drives;
}

} // namespace kelvane
