#include "ui/main/startfolders.h"

#include "base/messagetext.h"
#include "inputs/archivepath.h"
#include "platform/wineprefix.h"
#include "ui/main/maincontroller.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

// The folder as the folder lists show it, every link resolved so that it falls
// under the drive it lies on; empty when it cannot be found. An archive, or a
// folder inside one, keeps the archive's own name after its resolved folder.
QString fullFolderPath(const QString &given)
{
    // A Windows path names the folder of the Wine prefix in use, as the
    // output folder field takes it.
    const QString folder = prefixPathForWindowsPath(given).value_or(given);
    const QString absolute = QDir::current().absoluteFilePath(folder);
    if (const std::optional<ArchivePath> inside = archivePathOf(absolute)) {
        const QFileInfo archive(inside->archive);
        QString full = QFileInfo(archive.absolutePath()).canonicalFilePath() + QLatin1Char('/') +
                       archive.fileName();
        if (!inside->inner.isEmpty())
            full += QLatin1Char('/') + inside->inner;
        return QDir::toNativeSeparators(full);
    }
    const QFileInfo info(absolute);
    if (!info.isDir())
        return {};
    return QDir::toNativeSeparators(info.canonicalFilePath());
}

// Why the folder given as folder, found at full, could not be opened.
QString openFault(const QString &folder, const QString &full)
{
    if (const std::optional<ArchivePath> inside = archivePathOf(full)) {
        const Result<FarArchive> archive = openArchive(inside->archive);
        if (!archive.ok())
            return archive.error();
        return QStringLiteral("%1: the archive holds no such folder").arg(shownName(folder));
    }
    return QStringLiteral("%1: the folder cannot be read").arg(shownName(folder));
}

} // namespace

QStringList openStartFolders(MainController &controller, const QStringList &folders)
{
    QStringList messages;
    const auto open = [&](const QString &folder,
                          bool (MainController::*openOnSide)(const QString &)) {
        const QString full = fullFolderPath(folder);
        if (full.isEmpty()) {
            const bool exists = QFileInfo::exists(folder);
            messages.append(QStringLiteral("%1: %2").arg(
                shownName(folder),
                exists ? QStringLiteral("not a folder") : QStringLiteral("no such folder")));
        } else if (!(controller.*openOnSide)(full)) {
            messages.append(openFault(folder, full));
        }
    };
    if (folders.size() >= 1)
        open(folders[0], &MainController::openSkinsFolder);
    if (folders.size() >= 2)
        open(folders[1], &MainController::openPropsFolder);
    else if (folders.size() == 1 && messages.isEmpty())
        open(folders[0], &MainController::openPropsFolder);
    for (qsizetype i = 2; i < folders.size(); ++i)
        messages.append(
            QStringLiteral("%1: only two folders are opened").arg(shownName(folders[i])));
    return messages;
}

} // namespace kelvane
