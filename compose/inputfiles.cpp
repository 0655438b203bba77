#include "compose/inputfiles.h"

#include "compose/cmxcomposer.h"
#include "compose/linelist.h"

#include "compose/filekind.h"
#include "compose/messagetext.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvane {

namespace {

// Far above any character file the game can load (32767 skins of long names),
// low enough that a wrong file picked by mistake is not read into memory.
constexpr qint64 kMaxCharacterFileBytes = 64 * 1024 * 1024;
constexpr qint64 kPiece = 64 * 1024;

Failure<QString> readFailure(const QString &path, const QString &reason)
{
    return {QStringLiteral("%1: the file cannot be read (%2).").arg(shownName(path), reason)};
}

Failure<QString> tooLarge(const QString &path)
{
    return {QStringLiteral("%1: the file is larger than %2 MB, far larger than any character "
                           "file; it cannot be one.")
                .arg(shownName(path))
                .arg(kMaxCharacterFileBytes / (1024 * 1024))};
}

// Opens the regular file at path for reading. Nothing else is opened, and the
// opening never waits: a pipe put in the file's place meanwhile is refused too.
Result<void> openRegularFile(QFile &file, const QString &path)
{
    if (const Result<void> checked = checkInputFile(path); !checked.ok())
        return Failure{checked.error()};
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return readFailure(path, qt_error_string(errno));
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return readFailure(path, QStringLiteral("it is no longer a regular file"));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return readFailure(path, file.errorString());
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return readFailure(path, file.errorString());
#endif
    return {};
}

qsizetype countCrLf(const QByteArray &text, qsizetype from)
{
    qsizetype count = 0;
    for (qsizetype at = text.indexOf("\r\n", from); at >= 0; at = text.indexOf("\r\n", at + 2))
        ++count;
    return count;
}

} // namespace

Result<void> checkInputFile(const QString &path)
{
    switch (fileKindOf(path)) {
    case FileKind::Regular:
        return {};
    case FileKind::Missing:
        if (nameWasUndecodable(path))
            return Failure{QStringLiteral("%1: the file name holds bytes that are not text in the "
                                          "system's encoding, so the file cannot be opened under "
                                          "it; rename the file.")
                               .arg(shownName(path))};
        return Failure{QStringLiteral("%1: the file does not exist.").arg(shownName(path))};
    case FileKind::Folder:
        return Failure{QStringLiteral("%1: this is a folder, not a file.").arg(shownName(path))};
    case FileKind::Special:
        break;
    }
    return Failure{QStringLiteral("%1: this is not a regular file (it may be a pipe, a device or a "
                                  "socket); only regular files are read.")
                       .arg(shownName(path))};
}

Result<QByteArray> readCharacterFile(const QString &path)
{
    QFile file;
    if (const Result<void> opened = openRegularFile(file, path); !opened.ok())
        return Failure{opened.error()};
    if (!file.isSequential() && file.size() > kMaxCharacterFileBytes)
        return tooLarge(path);

    // Reads in pieces until every line used has ended in CR LF; how many are
    // used is known once the count line has.
    QByteArray bytes;
    qsizetype lineEnds = 0;
    qsizetype linesUsed = -1;
    while (linesUsed < 0 || lineEnds < linesUsed) {
        const qsizetype searchFrom = qMax<qsizetype>(0, bytes.size() - 1);
        const QByteArray piece = file.read(qMin(kPiece, kMaxCharacterFileBytes + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > kMaxCharacterFileBytes)
            return tooLarge(path);
        lineEnds += countCrLf(bytes, searchFrom);
        if (linesUsed < 0 && lineEnds > kSkinCountLine)
            linesUsed = characterLinesUsed(splitLines(bytes, kSkinCountLine + 1).constLast());
    }
    if (file.error() != QFileDevice::NoError)
        return readFailure(path, file.errorString());
    return bytes;
}

Result<QByteArray> readMeshFileStart(const QString &path)
{
    QFile file;
    if (const Result<void> opened = openRegularFile(file, path); !opened.ok())
        return Failure{opened.error()};
    QByteArray bytes;
    while (bytes.size() < kMeshBytesRead) {
        const QByteArray piece = file.read(kMeshBytesRead - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        return readFailure(path, file.errorString());
    return bytes;
}

QString inputFileFault(const QString &path, const QString &reason)
{
    return shownName(QFileInfo(path).fileName()) + QStringLiteral(": ") + reason;
}

} // namespace kelvane
