#include "controls/folderentries.h"

#include "controls/archivefolder.h"
#include "inputs/archivepath.h"

#include <QDirIterator>

#include <algorithm>

namespace kelvane {

namespace {

FolderEntry entryNamed(QString name, bool archive)
{
    QString key = name.toCaseFolded();
    return {std::move(name), std::move(key), archive};
}

} // namespace

bool listedBefore(const FolderEntry &a, const FolderEntry &b)
{
    if (a.archive != b.archive)
        return b.archive;
    // Folded keys compare code by code, several times faster than names
    // compared ignoring case.
    if (const int order = a.key.compare(b.key); order != 0)
        return order < 0;
    return a.name < b.name;
}

QList<FolderEntry> folderEntries(const QString &folder)
{
    QList<FolderEntry> entries;
    if (const std::optional<ArchivePath> inside = archivePathOf(folder)) {
        const Result<ArchiveFolder> read = readArchiveFolder(*inside);
        for (const QString &name : read.ok() ? read.value().folders : QStringList())
            entries.append(entryNamed(name, false));
    } else {
        QDir::Filters filters = QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot;
#ifndef Q_OS_WIN
        filters |= QDir::Hidden;
#endif
        for (QDirIterator found(folder, filters); found.hasNext();) {
            found.next();
            // The folder's own records say which entries are folders; only a
            // link is followed, and a file looked at only when named as an
            // archive. Neither lists a link to a special file.
            const QFileInfo entry = found.fileInfo();
            if (entry.isDir()) {
                entries.append(entryNamed(entry.fileName(), false));
            } else if (QString name = entry.fileName(); isArchiveName(name) && entry.isFile()) {
                entries.append(entryNamed(std::move(name), true));
            }
        }
    }
    std::sort(entries.begin(), entries.end(), listedBefore);
    return entries;
}

} // namespace kelvane
