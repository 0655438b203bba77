#pragma once

#include <QString>

namespace kelvane {

// What a path names, links followed: only regular files are ever opened, so
// that a pipe, a device or a socket can never block or feed the program.
enum class FileKind { Missing, Regular, Folder, Special };

FileKind fileKindOf(const QString &path);

// What tells two paths of one file apart from paths of others: the canonical
// path (links and ".." resolved; for a file that does not exist yet, its
// folder's), without regard to case on Windows. Empty when not even the folder
// exists.
QString fileIdentity(const QString &path);

} // namespace kelvane
