#include "replace/leftovers.h"

#include "base/filekind.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <QFile>
#include <sys/stat.h>
#endif

namespace kelvane {

namespace {

const QString kNewMark = QStringLiteral(".kelvane-new-");
const QString kOldMark = QStringLiteral(".kelvane-old-");

// An ID as uniquePart() makes them: digits and small letters.
bool isId(QStringView id)
{
    return !id.isEmpty() && std::all_of(id.begin(), id.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z');
    });
}

} // namespace

QString newContentPath(const QString &target, const QString &id)
{
    return target + kNewMark + id;
}

QString oldContentPath(const QString &target, const QString &id)
{
    return target + kOldMark + id;
}

QString lockPath(const QString &target)
{
    return target + QStringLiteral(".kelvane-lock");
}

QList<Leftover> leftoversOf(const QString &target)
{
    const QFileInfo info(target);
    const QString name = info.fileName();
    const QDir folder = info.absoluteDir();
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    const QSet<QString> listed(entries.begin(), entries.end());
    QList<Leftover> found;
    for (const QString &each : entries) {
        if (!each.startsWith(name, Qt::CaseInsensitive))
            continue;
        const QStringView rest = QStringView(each).sliced(name.size());
        const bool isNew = rest.startsWith(kNewMark);
        if (!isNew && !rest.startsWith(kOldMark))
            continue;
        const QString id = rest.sliced(kNewMark.size()).toString();
        if (!isId(id))
            continue;
        // A name that differs in case is target's only where the folder folds
        // case: there the name in target's case reaches it too.
        const QString own = name + rest.toString();
        if (each != own && (listed.contains(own) || !QFileInfo::exists(folder.filePath(own))))
            continue;
        const QString path = folder.filePath(each);
        if (QFileInfo(path).isSymLink() || fileKindOf(path) != FileKind::Regular)
            continue;
        auto entry = std::find_if(found.begin(), found.end(),
                                  [&id](const Leftover &left) { return left.id == id; });
        if (entry == found.end())
            entry = found.insert(found.end(), Leftover{id, {}, {}});
        (isNew ? entry->newPath : entry->oldPath) = path;
    }
    return found;
}

QString backupSharingContent(const QString &kept, const QString &target)
{
#ifdef Q_OS_UNIX
    struct stat keptStatus;
    if (::lstat(QFile::encodeName(kept).constData(), &keptStatus) != 0 || keptStatus.st_nlink < 2)
        return {};
    const QFileInfo info(target);
    const QString prefix = info.fileName() + QStringLiteral(".bak");
    const QDir folder = info.absoluteDir();
    for (const QString &each : folder.entryList(QDir::Files | QDir::Hidden)) {
        struct stat status;
        const QString path = folder.filePath(each);
        if (each.startsWith(prefix) && ::lstat(QFile::encodeName(path).constData(), &status) == 0 &&
            status.st_dev == keptStatus.st_dev && status.st_ino == keptStatus.st_ino)
            return path;
    }
#else
    // Windows names a backup in one step, so a file never has two names.
    Q_UNUSED(kept);
    Q_UNUSED(target);
#endif
    return {};
}

} // namespace kelvane
