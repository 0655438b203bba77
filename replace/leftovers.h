#pragma once

#include <QList>
#include <QString>

namespace kelvane {

// The files a replace of "NAME" makes beside it (see replace.h): its new
// content, its old content, and the lock that tells a replace is running.
// None ends in ".cmx" or ".bcf", so the game never loads one.
QString newContentPath(const QString &target, const QString &id);
QString oldContentPath(const QString &target, const QString &id);
QString lockPath(const QString &target);

// The files one interrupted replace of a file left.
struct Leftover {
    QString id;
    QString newPath; // empty when gone
    QString oldPath; // empty when gone
};

// What interrupted replaces of target left: regular files (no links) named
// as target followed by a mark and an ID. Names are compared as the folder
// compares them: exactly where it tells case apart, without regard to case
// where it does not (Windows, and case-insensitive volumes elsewhere), so
// "A.cmx"'s files are never taken for "a.cmx"'s.
QList<Leftover> leftoversOf(const QString &target);

// The backup of target that is another name of the file kept (a hard link
// to it, as a kill in the middle of naming it leaves); empty when there is
// none.
QString backupSharingContent(const QString &kept, const QString &target);

} // namespace kelvane
