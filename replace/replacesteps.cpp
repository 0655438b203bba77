#include "replace/replacesteps.h"

#include "base/filekind.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kelvane {

namespace {

std::function<StepOutcome(ReplaceStep)> &stepHook()
{
    static std::function<StepOutcome(ReplaceStep)> hook;
    return hook;
}

} // namespace

void setReplaceStepHook(std::function<StepOutcome(ReplaceStep)> hook)
{
    stepHook() = std::move(hook);
}

StepOutcome replaceStep(ReplaceStep step)
{
    return stepHook() ? stepHook()(step) : StepOutcome::Go;
}

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

Kept keepContent(const QString &file, const QString &keep)
{
    const StepOutcome link = replaceStep(ReplaceStep::LinkOld);
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
    // Only a regular file is opened, so that nothing can block the copy.
    QFile source(file);
    QFile copy(keep);
    if (fileKindOf(file) != FileKind::Regular || !source.open(QIODevice::ReadOnly) ||
        !copy.open(QIODevice::WriteOnly | QIODevice::NewOnly))
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

Moved moveToFreeName(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    // Without MOVEFILE_REPLACE_EXISTING a move never replaces a file.
    if (MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()),
                    reinterpret_cast<const wchar_t *>(to.utf16()), MOVEFILE_WRITE_THROUGH))
        return {Move::Done, {}};
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return {Move::NameTaken, {}};
    return {Move::Failed, qt_error_string(int(error))};
#else
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#if defined(Q_OS_LINUX) && defined(RENAME_NOREPLACE)
    // One step: the file never has two names.
    const StepOutcome renaming = replaceStep(ReplaceStep::RenameBackup);
    if (renaming == StepOutcome::Abandon)
        return {Move::Abandoned, {}};
    if (renaming == StepOutcome::Go) {
        if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                        RENAME_NOREPLACE) == 0)
            return {Move::Done, {}};
        if (errno == EEXIST)
            return {Move::NameTaken, {}};
        // Else the file system lacks it: a link and an unlink do the same.
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return {Move::Failed, qt_error_string(errno)};
    }
#endif
    if (::link(source.constData(), target.constData()) == 0) {
        const StepOutcome dropping = replaceStep(ReplaceStep::DropKeptName);
        if (dropping == StepOutcome::Abandon)
            return {Move::Abandoned, {}};
        if (dropping == StepOutcome::Go && ::unlink(source.constData()) == 0)
            return {Move::Done, {}};
        return {Move::OldNameLeft, qt_error_string(dropping == StepOutcome::Go ? errno : EIO)};
    }
    // Without hard links (FAT, exFAT) the name was free a moment ago, and a
    // plain rename is all there is.
    const int linkError = errno;
    const QFileInfo named(to);
    if (linkError == EEXIST || named.exists() || named.isSymLink())
        return {Move::NameTaken, {}};
    if (::rename(source.constData(), target.constData()) == 0)
        return {Move::Done, {}};
    return {Move::Failed, qt_error_string(errno)};
#endif
}

} // namespace kelvane
