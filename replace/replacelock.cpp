#include "replace/replacelock.h"

#include "base/messagetext.h"
#include "replace/leftovers.h"
#include "replace/wholefile.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QSet>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvane {

namespace {

QMutex &heldMutex()
{
    static QMutex mutex;
    return mutex;
}

// The lock files this process holds.
QSet<QString> &heldLocks()
{
    static QSet<QString> held;
    return held;
}

// How the lock file at path is known among those held, whichever way the
// path is written.
QString heldKey(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
#ifdef Q_OS_WIN
    return clean.toCaseFolded();
#else
    return clean;
#endif
}

enum class Taken { Yes, Busy, NotAFile, NoLock };

struct Attempt {
    Taken taken;
    qintptr handle = -1;
    QString what; // for NotAFile: what is in the lock's place
};

#ifdef Q_OS_WIN
Attempt take(const QString &path)
{
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return {Taken::NotAFile, -1, QStringLiteral("a folder")};
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return {Taken::NotAFile, -1, QStringLiteral("a link")};
        if (attributes & FILE_ATTRIBUTE_DEVICE)
            return {Taken::NotAFile, -1, QStringLiteral("a device")};
    }
    // Shared with no one, and gone when closed, even by a killed process.
    const HANDLE handle = CreateFileW(
        native.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {GetLastError() == ERROR_SHARING_VIOLATION ? Taken::Busy : Taken::NoLock, -1, {}};
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return {Taken::NotAFile, -1, QStringLiteral("a special file")};
    }
    return {Taken::Yes, reinterpret_cast<qintptr>(handle), {}};
}

void release(const QString &, qintptr handle)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}
#else
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISLNK(mode))
        return QStringLiteral("a link");
    if (S_ISFIFO(mode))
        return QStringLiteral("a pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("a special file");
}

Attempt take(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (::lstat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return {Taken::NotAFile, -1, kindOf(status.st_mode)};
    // The holder removes the lock file as it lets go: a lock taken on a file
    // removed meanwhile is no lock, and is taken again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd =
            ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (::lstat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode))
                return {Taken::NotAFile, -1, kindOf(status.st_mode)};
            return {Taken::NoLock, -1, {}};
        }
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(fd);
            return {Taken::NotAFile, -1, kindOf(status.st_mode)};
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return {error == EWOULDBLOCK ? Taken::Busy : Taken::NoLock, -1, {}};
        }
        struct stat named;
        if (::lstat(name.constData(), &named) == 0 && named.st_dev == status.st_dev &&
            named.st_ino == status.st_ino)
            return {Taken::Yes, fd, {}};
        ::close(fd);
    }
    return {Taken::Busy, -1, {}};
}

void release(const QString &path, qintptr handle)
{
    ::unlink(QFile::encodeName(path).constData());
    ::close(int(handle));
}
#endif

} // namespace

ReplaceLock::ReplaceLock(const QString &target)
{
    const QString path = lockPath(target);
    QMutexLocker locker(&heldMutex());
    if (heldLocks().contains(heldKey(path)))
        return;
    const Attempt attempt = take(path);
    switch (attempt.taken) {
    case Taken::Yes:
        m_path = path;
        m_handle = attempt.handle;
        heldLocks().insert(heldKey(path));
        break;
    case Taken::Busy:
        m_refusal = cannotWriteText(target, QStringLiteral("another Kelvane or kelvane-attach is "
                                                           "replacing it right now; nothing was "
                                                           "changed; try again when it is done"));
        break;
    case Taken::NotAFile:
        m_refusal = cannotWriteText(
            target, QStringLiteral("%1 is in the way: it is %2 where Kelvane keeps the lock of a "
                                   "replace; remove %1 and try again; nothing was changed")
                        .arg(shownName(QDir::toNativeSeparators(path)), attempt.what));
        break;
    case Taken::NoLock:
        break;
    }
}

ReplaceLock::~ReplaceLock()
{
    if (m_path.isEmpty())
        return;
    QMutexLocker locker(&heldMutex());
    heldLocks().remove(heldKey(m_path));
    release(m_path, m_handle);
}

} // namespace kelvane
