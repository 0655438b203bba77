#include "replace/replace.h"

#include "base/messagetext.h"
#include "replace/backup.h"
#include "replace/leftovers.h"
#include "replace/replacelock.h"
#include "replace/replacesteps.h"
#include "replace/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#endif

namespace kelvane {

namespace {

Failure<QString> cannotWrite(const QString &path, const QString &reason)
{
    return {cannotWriteText(path, reason)};
}

Failure<QString> abandoned(const QString &path)
{
    return cannotWrite(path, QStringLiteral("the replace was interrupted"));
}

QString shownFile(const QString &path)
{
    return shownName(QFileInfo(path).fileName());
}

const QString kInUse = QStringLiteral("another program is using it; close that program (the "
                                      "game, or an editor) and try again; nothing was changed");

// Whether another program has the file open without letting it be renamed or
// removed, as the game and editors do on Windows.
bool heldByAnotherProgram(const QString &path)
{
#ifdef Q_OS_WIN
    const HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                    DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
#else
    Q_UNUSED(path);
    return false;
#endif
}

// Why the new file could not take the name of the file at target.
struct PlaceFault {
    enum Kind { InUse, Other } kind;
    QString reason;
};

PlaceFault placeFault(const QString &target)
{
#ifdef Q_OS_WIN
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
        (error == ERROR_ACCESS_DENIED && QFileInfo(target).isWritable()))
        return {PlaceFault::InUse, kInUse};
    if (error == ERROR_ACCESS_DENIED)
        return {PlaceFault::Other, QStringLiteral("access is denied; nothing was changed")};
    return {PlaceFault::Other,
            qt_error_string(int(error)) + QStringLiteral("; nothing was changed")};
#else
    Q_UNUSED(target);
    return {PlaceFault::Other, qt_error_string(errno) + QStringLiteral("; nothing was changed")};
#endif
}

QString uniquePart()
{
    return QString::number(QRandomGenerator::global()->generate(), 36);
}

// The old content of target, kept at kept, given the first free backup name
// of target, never replacing a file.
struct Named {
    QString backup; // empty when it could not be named
    QString fault;  // why not; or, with a backup, why kept is still there too
    bool abandoned = false;
};

Named nameAsBackup(const QString &kept, const QString &target)
{
    for (int number = 1; number <= kMaxBackups; ++number) {
        const QString backup = backupName(target, number);
        const Moved moved = moveToFreeName(kept, backup);
        switch (moved.outcome) {
        case Move::Done:
            return {backup, {}};
        case Move::OldNameLeft:
            return {backup, moved.reason};
        case Move::Failed:
            return {{}, moved.reason};
        case Move::Abandoned:
            return {{}, {}, true};
        case Move::NameTaken:
            break;
        }
    }
    return {{}, QStringLiteral("no backup name is free")};
}

// What a kept name still beside the named backup means, for the user.
QString keptNameLeft(const QString &target, const Named &named, const QString &kept)
{
    return QStringLiteral("The old content of %1 is kept as %2, but its temporary name %3 could "
                          "not be removed (%4); the next replace of %1 removes it.")
        .arg(shownFile(target), shownFile(named.backup), shownFile(kept), named.fault);
}

QString settleNew(const Leftover &left, const QString &shown)
{
    QFile newFile(left.newPath);
    QFile oldFile(left.oldPath);
    if (newFile.remove() && (left.oldPath.isEmpty() || oldFile.remove()))
        return QStringLiteral("An earlier replace of %1 was interrupted before its new content "
                              "took its place; its unfinished files were removed.")
            .arg(shown);
    const QFile &failed = newFile.exists() ? newFile : oldFile;
    return QStringLiteral("An earlier replace of %1 was interrupted; its unfinished file %2 could "
                          "not be removed (%3).")
        .arg(shown, shownFile(failed.fileName()), failed.errorString());
}

QString settleOld(const Leftover &left, const QString &target)
{
    const QString shown = shownFile(target);
    // A kill between linking the backup name and removing the kept one: the
    // backup is named already, and a second backup of one content would mislead.
    if (const QString backup = backupSharingContent(left.oldPath, target); !backup.isEmpty()) {
        QFile kept(left.oldPath);
        if (!kept.remove())
            return keptNameLeft(target, Named{backup, kept.errorString()}, left.oldPath);
        return QStringLiteral("An earlier replace of %1 was interrupted after its new content "
                              "took its place; its old content is kept as %2.")
            .arg(shown, shownFile(backup));
    }
    const Named named = nameAsBackup(left.oldPath, target);
    if (named.backup.isEmpty())
        return QStringLiteral("An earlier replace of %1 was interrupted; its old content is kept "
                              "as %2 (%3).")
            .arg(shown, shownFile(left.oldPath), named.fault);
    if (!named.fault.isEmpty())
        return keptNameLeft(target, named, left.oldPath);
    return QStringLiteral("An earlier replace of %1 was interrupted after its new content took "
                          "its place; its old content is now kept as %2.")
        .arg(shown, shownFile(named.backup));
}

} // namespace

QStringList settleInterruptedReplaces(const QString &target)
{
    // A running replace's files are not an interrupted one's.
    const ReplaceLock lock(target);
    if (!lock.refusal().isEmpty())
        return {};
    QStringList settled;
    for (const Leftover &left : leftoversOf(target)) {
        settled.append(left.newPath.isEmpty() ? settleOld(left, target)
                                              : settleNew(left, shownFile(target)));
    }
    if (!settled.isEmpty())
        syncFolder(QFileInfo(target).absolutePath());
    return settled;
}

Result<Replaced> replaceFile(const QString &target, const QByteArray &bytes, bool keepBackup)
{
    // One replace of a file at a time, in any instance.
    const ReplaceLock lock(target);
    if (!lock.refusal().isEmpty())
        return Failure{lock.refusal()};
    Replaced replaced;
    replaced.settled = settleInterruptedReplaces(target);
    const QFileInfo old(target);
    const bool keep = keepBackup && old.exists();
    if (keep && backupPathFor(target).isEmpty())
        return Failure{noFreeBackupName(target)};
    // A file another program holds cannot take a new name, nor lose a link to it
    // kept as its backup: said before anything is written.
    if (old.exists() && heldByAnotherProgram(target))
        return cannotWrite(target, kInUse);

    const QString id = uniquePart();
    const QString newPath = newContentPath(target, id);
    const QString oldPath = oldContentPath(target, id);
    if (const Result<void> written = writeSyncedNewFile(newPath, bytes, target); !written.ok())
        return Failure{written.error()};
    if (old.exists())
        QFile::setPermissions(newPath, old.permissions());
    const auto undo = [&] {
        QFile::remove(newPath);
        QFile::remove(oldPath);
    };

    if (keep) {
        const StepOutcome keeping = replaceStep(ReplaceStep::KeepOld);
        const Kept kept = keeping == StepOutcome::Go ? keepContent(target, oldPath) : Kept::No;
        if (keeping == StepOutcome::Abandon || kept == Kept::Abandoned)
            return abandoned(target);
        if (kept == Kept::No) {
            undo();
            return Failure{QStringLiteral("%1: the old file cannot be kept as a backup; nothing "
                                          "was changed.")
                               .arg(shownName(target))};
        }
    }
    const StepOutcome placing = replaceStep(ReplaceStep::PutInPlace);
    if (placing == StepOutcome::Abandon)
        return abandoned(target);
    if (placing == StepOutcome::Fail || !replaceInOneStep(newPath, target)) {
        const PlaceFault fault = placing == StepOutcome::Fail
                                     ? PlaceFault{PlaceFault::Other, QStringLiteral("nothing was "
                                                                                    "changed")}
                                     : placeFault(target);
        undo();
        // A file in use is no matter of rights.
        return Failure{cannotWrite(target, fault.reason).error +
                       (fault.kind == PlaceFault::InUse ? QString() : programFilesAdvice(target))};
    }
    syncFolder(old.absolutePath());

    if (keep) {
        const StepOutcome naming = replaceStep(ReplaceStep::NameBackup);
        if (naming == StepOutcome::Abandon)
            return abandoned(target);
        const Named named = naming == StepOutcome::Fail
                                ? Named{{}, QStringLiteral("the system refused it")}
                                : nameAsBackup(oldPath, target);
        if (named.abandoned)
            return abandoned(target);
        replaced.backupPath = named.backup;
        if (named.backup.isEmpty())
            replaced.settled.append(QStringLiteral("The old content of %1 is kept as %2 for now "
                                                   "(%3); the next replace of it names it as a "
                                                   "backup.")
                                        .arg(shownFile(target), shownFile(oldPath), named.fault));
        else if (!named.fault.isEmpty())
            replaced.settled.append(keptNameLeft(target, named, oldPath));
        syncFolder(old.absolutePath());
    }
    return replaced;
}

} // namespace kelvane
