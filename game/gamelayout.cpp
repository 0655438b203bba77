#include "game/gamelayout.h"

#include "base/filekind.h"
#include "formats/fararchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace kelvane {

namespace {

// The game keeps its archives one or two folders down (ExpansionShared/,
// GameData/Skins/); players' downloads may nest a little deeper.
constexpr int kArchiveDepth = 4;
constexpr qsizetype kFoldersEntered = 2000;
constexpr qsizetype kArchivesFound = 200;
// Far more ancestors than any real path has.
constexpr int kAncestorsLooked = 64;

bool lessByName(const QFileInfo &a, const QFileInfo &b)
{
    const int order = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a.fileName() < b.fileName();
}

} // namespace

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

QString gameFolderHolding(const QString &folder)
{
    QDir dir(QFileInfo(folder).absoluteFilePath());
    for (int up = 0; up < kAncestorsLooked; ++up) {
        if (!entryNamedIn(dir.path(), QStringLiteral("GameData"), QDir::Dirs).isEmpty())
            return dir.path();
        if (!dir.cdUp())
            break;
    }
    return {};
}

QStringList archivesUnder(const QString &gameFolder)
{
    QStringList archives;
    QStringList level{gameFolder};
    qsizetype entered = 0;
    for (int depth = 0; depth <= kArchiveDepth && !level.isEmpty(); ++depth) {
        QStringList next;
        for (const QString &folder : std::as_const(level)) {
            if (++entered > kFoldersEntered)
                return archives;
            QList<QFileInfo> entries;
            for (QDirIterator it(folder,
                                 QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
                 it.hasNext();) {
                it.next();
                entries.append(it.fileInfo());
            }
            std::sort(entries.begin(), entries.end(), lessByName);
            for (const QFileInfo &entry : std::as_const(entries)) {
                if (entry.isSymLink() && entry.isDir())
                    continue;
                if (entry.isDir()) {
                    next.append(entry.filePath());
                } else if (isArchiveName(entry.fileName()) &&
                           fileKindOf(entry.filePath()) == FileKind::Regular) {
                    archives.append(entry.filePath());
                    if (archives.size() >= kArchivesFound)
                        return archives;
                }
            }
        }
        level = next;
    }
    return archives;
}

bool isPlainFileName(QByteArrayView name)
{
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = quint8(c);
        return byte < 0x20 || byte == 0x7f || c == '/' || c == '\\' || c == ':';
    });
}

} // namespace kelvane
