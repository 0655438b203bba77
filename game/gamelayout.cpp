#include "game/gamelayout.h"

#include "base/filekind.h"
#include "base/gamefoldernames.h"
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

QString gameFolderHolding(const QString &folder)
{
    QDir dir(QFileInfo(folder).absoluteFilePath());
    for (int up = 0; up < kAncestorsLooked; ++up) {
        if (!entryNamedIn(dir.path(), kGameDataFolder, QDir::Dirs).isEmpty())
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

QStringList looseSkinFoldersOf(const QString &gameFolder)
{
    QStringList folders;
    for (const QStringList &names : {gameSkinsPath(), gameSkinsBuyPath()}) {
        if (const QString folder = subfolderNamed(gameFolder, names); !folder.isEmpty())
            folders.append(folder);
    }
    return folders;
}

QString skinsFolderNearArchive(const QString &archivePath)
{
    const QString archiveFolder = QFileInfo(archivePath).absolutePath();
    for (const QString &candidate : {archiveFolder, QFileInfo(archiveFolder).absolutePath()}) {
        const bool isGameData =
            QDir(candidate).dirName().compare(kGameDataFolder, Qt::CaseInsensitive) == 0;
        const QString gameData =
            isGameData ? candidate : entryNamedIn(candidate, kGameDataFolder, QDir::Dirs);
        if (gameData.isEmpty())
            continue;
        if (const QString skins = entryNamedIn(gameData, kSkinsFolder, QDir::Dirs);
            !skins.isEmpty())
            return QDir::toNativeSeparators(skins);
    }
    return QDir::toNativeSeparators(archiveFolder);
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
