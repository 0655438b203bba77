#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace kelvane {

// Replacing a file so that an interruption at any moment leaves nothing
// misleading. The new content is written and synced under
// "NAME.kelvane-new-ID"; the old content is kept (a hard link, or a synced
// copy) under "NAME.kelvane-old-ID"; the new file takes the old one's name in
// one step; only then does the old content take a backup name (".bak",
// ".bak2", ...), so a backup is always whole. What an interrupted replace
// left is settled by the next replace of the same file: with its new file
// still there, the replace never happened and its files are removed; without
// it, the new content is in place and the old one is named as the backup.
// A lock file, "NAME.kelvane-lock", keeps a second replace of the file (by
// another instance) from starting, or from taking a running one's files for
// an interrupted one's; a killed instance's lock is taken over.

// The steps of a replace; before each, tests may fail or abandon it. Failing
// LinkOld keeps the old content by a copy, as where there are no hard links;
// failing RenameBackup names the backup by a link and an unlink
// (DropKeptName), as where renaming without replacing is not offered.
enum class ReplaceStep {
    WriteNew,
    SyncNew,
    KeepOld,
    LinkOld,
    PutInPlace,
    NameBackup,
    RenameBackup,
    DropKeptName,
};
enum class StepOutcome {
    Go,
    Fail,    // as if the system refused the step
    Abandon, // as if the process were killed before it: everything left as it is
};
// For tests only; an empty hook lets every step go.
void setReplaceStepHook(std::function<StepOutcome(ReplaceStep)> hook);

struct Replaced {
    QString backupPath; // empty when no backup was kept
    // What settling an earlier, interrupted replace of the file did.
    QStringList settled;
};

// Replaces the file at target (no link; the file itself) by bytes, keeping
// its old content as a backup when keepBackup is set and it exists. What
// interrupted replaces of target left is settled first.
Result<Replaced> replaceFile(const QString &target, const QByteArray &bytes, bool keepBackup);

// Settles what interrupted replaces of target left, as replaceFile does
// first, under the lock: a lone old content is named as a backup, so that a
// restore finds it. What was done, for the user; nothing while another
// instance replaces target.
QStringList settleInterruptedReplaces(const QString &target);

} // namespace kelvane
