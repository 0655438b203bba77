#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace kelvane {

// What a path names, links followed: only regular files are ever opened, so
// that a pipe, a device or a socket can never block or feed the program.
enum class FileKind { Missing, Regular, Folder, Special };

FileKind fileKindOf(const QString &path);

// What a file is, and what tells whether it changed: its size and time of
// modification (and on Unix its inode), read in one look.
struct FileStamp {
    FileKind kind = FileKind::Missing;
    qint64 size = 0;
    qint64 modified = 0;
    quint64 inode = 0;
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};
FileStamp fileStamp(const QString &path);

// The path of folder's entry of the kinds given called name, found as the
// game finds files: name itself, or else an entry whose name equals it
// without regard to case. Empty when there is none.
QString entryNamedIn(const QString &folder, const QString &name,
                     QDir::Filters kinds = QDir::AllEntries);

// The folder reached from folder through the subfolders names, each found as
// entryNamedIn finds it ({"GameData", "Skins"}); empty when one is missing.
QString subfolderNamed(const QString &folder, const QStringList &names);

// What tells two paths of one file apart from paths of others: the canonical
// path (links and ".." resolved; for a file that does not exist yet, its
// folder's), without regard to case on Windows. Empty when not even the folder
// exists.
QString fileIdentity(const QString &path);

} // namespace kelvane
