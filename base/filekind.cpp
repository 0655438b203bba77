#include "base/filekind.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace kelvane {

FileKind fileKindOf(const QString &path)
{
#ifdef Q_OS_UNIX
    return fileStamp(path).kind;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return FileKind::Missing;
    if (info.isDir())
        return FileKind::Folder;
    return info.isFile() ? FileKind::Regular : FileKind::Special;
#endif
}

namespace {

#ifdef Q_OS_UNIX
FileKind kindOf(const struct stat &status)
{
    if (S_ISREG(status.st_mode))
        return FileKind::Regular;
    return S_ISDIR(status.st_mode) ? FileKind::Folder : FileKind::Special;
}
#endif

} // namespace

FileStamp fileStamp(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {kindOf(status), qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            quint64(status.st_ino)};
#else
    const QFileInfo info(path);
    return {fileKindOf(path), info.size(), info.lastModified().toMSecsSinceEpoch(), 0};
#endif
}

QString entryNamedIn(const QString &folder, const QString &name, QDir::Filters kinds)
{
    if (name.isEmpty())
        return {};
    const QDir dir(folder);
    const QFileInfo exact(dir.filePath(name));
    const bool exactFits = kinds.testFlag(QDir::AllEntries)
                               ? exact.exists() || exact.isSymLink()
                               : (kinds.testFlag(QDir::Dirs) && exact.isDir()) ||
                                     (kinds.testFlag(QDir::Files) && exact.isFile());
    if (exactFits)
        return exact.filePath();
    const QStringList names =
        dir.entryList(kinds | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &each : names) {
        if (each.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(each);
    }
    return {};
}

QString subfolderNamed(const QString &folder, const QStringList &names)
{
    QString reached = folder;
    for (const QString &name : names) {
        reached = entryNamedIn(reached, name, QDir::Dirs);
        if (reached.isEmpty())
            return {};
    }
    return reached;
}

QString fileIdentity(const QString &path)
{
    const QFileInfo info(path);
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty() && !info.isSymLink()) {
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        if (!folder.isEmpty())
            canonical = folder + QLatin1Char('/') + info.fileName();
    }
#ifdef Q_OS_WIN
    return canonical.toCaseFolded();
#else
    return canonical;
#endif
}

} // namespace kelvane
