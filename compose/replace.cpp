#include "compose/replace.h"

#include "compose/backup.h"
#include "compose/messagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <optional>

#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kelvane {

namespace {

const QString kNewMark = QStringLiteral(".kelvane-new-");
const QString kOldMark = QStringLiteral(".kelvane-old-");

std::function<StepOutcome(ReplaceStep)> &stepHook()
{
    static std::function<StepOutcome(ReplaceStep)> hook;
    return hook;
}

StepOutcome step(ReplaceStep done)
{
    return stepHook() ? stepHook()(done) : StepOutcome::Go;
}

Failure<QString> cannotWrite(const QString &path, const QString &reason)
{
    return {QStringLiteral("%1: the file cannot be written (%2).").arg(shownName(path), reason)};
}

Failure<QString> abandoned(const QString &path)
{
    return cannotWrite(path, QStringLiteral("the replace was interrupted"));
}

// What to do when Windows refuses a write into the folder of installed
// programs, where the game usually lives; empty elsewhere.
QString programFilesAdvice(const QString &path)
{
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    for (const char *variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString folder = QDir::toNativeSeparators(qEnvironmentVariable(variable));
        if (!folder.isEmpty() && native.startsWith(folder + QLatin1Char('\\'), Qt::CaseInsensitive))
            return QStringLiteral(" Windows lets only administrators change files in %1: start "
                                  "Kelvane as administrator (right-click it, then \"Run as "
                                  "administrator\"), or write into another folder.")
                .arg(folder);
    }
#else
    Q_UNUSED(path);
#endif
    return {};
}

QString shownFile(const QString &path)
{
    return shownName(QFileInfo(path).fileName());
}

// Writes the file's data through to the disk.
bool syncData(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())));
#else
    return ::fdatasync(file.handle()) == 0;
#endif
}

// Makes the names of the folder's entries last, as far as the system allows.
void syncFolder(const QString &folder)
{
#ifndef Q_OS_WIN
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

// Writes bytes into the new file at path, which must not exist, and syncs them.
Result<void> writeNew(const QString &path, const QByteArray &bytes, const QString &shownPath)
{
    const StepOutcome writing = step(ReplaceStep::WriteNew);
    if (writing == StepOutcome::Abandon)
        return abandoned(shownPath);
    QFile file(path);
    if (writing == StepOutcome::Fail || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Failure{cannotWrite(shownPath, file.errorString()).error +
                       programFilesAdvice(shownPath)};
    // A short write (disk full, file size limit) is not always reported as an
    // error of the device: the count is what tells.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.close();
        file.remove();
        return cannotWrite(shownPath, QStringLiteral("only part of it could be stored; the disk "
                                                     "may be full; no file was changed"));
    }
    const StepOutcome syncing = step(ReplaceStep::SyncNew);
    if (syncing == StepOutcome::Abandon)
        return abandoned(shownPath);
    if (syncing == StepOutcome::Fail || !syncData(file)) {
        file.close();
        file.remove();
        return cannotWrite(shownPath, QStringLiteral("it could not be stored safely on the disk; "
                                                     "no file was changed"));
    }
    return {};
}

// Keeps the content of file at keep: a hard link when the file system has
// them, a synced copy otherwise.
enum class Kept { Yes, No, Abandoned };

Kept keepOld(const QString &file, const QString &keep)
{
    const StepOutcome link = step(ReplaceStep::LinkOld);
    if (link == StepOutcome::Abandon)
        return Kept::Abandoned;
    const bool linking = link == StepOutcome::Go;
#ifdef Q_OS_WIN
    if (linking && CreateHardLinkW(reinterpret_cast<const wchar_t *>(keep.utf16()),
                                   reinterpret_cast<const wchar_t *>(file.utf16()), nullptr))
        return Kept::Yes;
#else
    if (linking &&
        ::link(QFile::encodeName(file).constData(), QFile::encodeName(keep).constData()) == 0)
        return Kept::Yes;
#endif
    QFile source(file);
    QFile copy(keep);
    if (!source.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Kept::No;
    constexpr qint64 kPiece = 64 * 1024;
    bool copied = true;
    while (copied && !source.atEnd()) {
        const QByteArray piece = source.read(kPiece);
        copied = source.error() == QFileDevice::NoError && copy.write(piece) == piece.size();
    }
    copied = copied && syncData(copy);
    copy.close();
    if (!copied)
        copy.remove();
    return copied ? Kept::Yes : Kept::No;
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
QString renameFault(const QString &target)
{
#ifdef Q_OS_WIN
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
        (error == ERROR_ACCESS_DENIED && QFileInfo(target).isWritable()))
        return kInUse;
    if (error == ERROR_ACCESS_DENIED)
        return QStringLiteral("access is denied; nothing was changed");
    return qt_error_string(int(error)) + QStringLiteral("; nothing was changed");
#else
    Q_UNUSED(target);
    return qt_error_string(errno) + QStringLiteral("; nothing was changed");
#endif
}

// Moves from into the place of to, replacing it, in one step.
bool replaceInOneStep(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()),
                       reinterpret_cast<const wchar_t *>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

QString uniquePart()
{
    return QString::number(QRandomGenerator::global()->generate(), 36);
}

struct Leftover {
    QString id;
    QString newPath;
    QString oldPath;
};

QList<Leftover> leftoversOf(const QString &target)
{
    const QFileInfo info(target);
    const QString name = info.fileName();
    QList<Leftover> found;
    const auto entry = [&found](const QString &id) -> Leftover & {
        for (Leftover &each : found) {
            if (each.id == id)
                return each;
        }
        found.append({id, {}, {}});
        return found.last();
    };
    const QDir folder = info.absoluteDir();
    for (const QString &each : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!each.startsWith(name, Qt::CaseInsensitive))
            continue;
        const QStringView rest = QStringView(each).sliced(name.size());
        if (rest.startsWith(kNewMark))
            entry(rest.sliced(kNewMark.size()).toString()).newPath = folder.filePath(each);
        else if (rest.startsWith(kOldMark))
            entry(rest.sliced(kOldMark.size()).toString()).oldPath = folder.filePath(each);
    }
    return found;
}

} // namespace

void setReplaceStepHook(std::function<StepOutcome(ReplaceStep)> hook)
{
    stepHook() = std::move(hook);
}

QStringList settleInterruptedReplaces(const QString &target)
{
    QStringList settled;
    const QString shown = shownFile(target);
    for (const Leftover &left : leftoversOf(target)) {
        if (!left.newPath.isEmpty()) {
            const bool removed = QFile::remove(left.newPath) &&
                                 (left.oldPath.isEmpty() || QFile::remove(left.oldPath));
            settled.append(
                removed ? QStringLiteral("An earlier replace of %1 was interrupted before its new "
                                         "content took its place; its unfinished files were "
                                         "removed.")
                              .arg(shown)
                        : QStringLiteral("An earlier replace of %1 was interrupted; its unfinished "
                                         "files (%2) could not be removed.")
                              .arg(shown, shownFile(left.newPath)));
            continue;
        }
        const Result<QString> named = nameAsBackup(left.oldPath, target);
        settled.append(
            named.ok()
                ? QStringLiteral("An earlier replace of %1 was interrupted after its new content "
                                 "took its place; its old content is now kept as %2.")
                      .arg(shown, shownFile(named.value()))
                : QStringLiteral("An earlier replace of %1 was interrupted; its old content is "
                                 "kept as %2 (%3).")
                      .arg(shown, shownFile(left.oldPath), named.error()));
    }
    if (!settled.isEmpty())
        syncFolder(QFileInfo(target).absolutePath());
    return settled;
}

Result<Replaced> replaceFile(const QString &target, const QByteArray &bytes, bool keepBackup)
{
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
    const QString newPath = target + kNewMark + id;
    const QString oldPath = target + kOldMark + id;
    if (const Result<void> written = writeNew(newPath, bytes, target); !written.ok())
        return Failure{written.error()};
    if (old.exists())
        QFile::setPermissions(newPath, old.permissions());
    const auto undo = [&] {
        QFile::remove(newPath);
        QFile::remove(oldPath);
    };

    if (keep) {
        const StepOutcome keeping = step(ReplaceStep::KeepOld);
        const Kept kept = keeping == StepOutcome::Go ? keepOld(target, oldPath) : Kept::No;
        if (keeping == StepOutcome::Abandon || kept == Kept::Abandoned)
            return abandoned(target);
        if (kept == Kept::No) {
            undo();
            return Failure{QStringLiteral("%1: the old file cannot be kept as a backup; nothing "
                                          "was changed.")
                               .arg(shownName(target))};
        }
    }
    const StepOutcome placing = step(ReplaceStep::PutInPlace);
    if (placing == StepOutcome::Abandon)
        return abandoned(target);
    if (placing == StepOutcome::Fail || !replaceInOneStep(newPath, target)) {
        const QString reason = placing == StepOutcome::Fail ? QStringLiteral("nothing was changed")
                                                            : renameFault(target);
        undo();
        // A file in use is no matter of rights.
        const bool inUse = reason.startsWith(QLatin1StringView("another program"));
        return Failure{cannotWrite(target, reason).error +
                       (inUse ? QString() : programFilesAdvice(target))};
    }
    syncFolder(old.absolutePath());

    if (keep) {
        const StepOutcome naming = step(ReplaceStep::NameBackup);
        if (naming == StepOutcome::Abandon)
            return abandoned(target);
        const Result<QString> named = naming == StepOutcome::Fail
                                          ? Result<QString>(Failure{QStringLiteral("refused")})
                                          : nameAsBackup(oldPath, target);
        if (named.ok())
            replaced.backupPath = named.value();
        else
            // The next replace of the file names it.
            replaced.settled.append(QStringLiteral("The old content of %1 is kept as %2 for now; "
                                                   "the next replace of it names it as a backup.")
                                        .arg(shownFile(target), shownFile(oldPath)));
        syncFolder(old.absolutePath());
    }
    return replaced;
}

} // namespace kelvane
