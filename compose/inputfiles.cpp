#include "compose/inputfiles.h"

#include "compose/cmxcomposer.h"
#include "compose/linelist.h"

#include <QFile>
#include <QFileInfo>

namespace kelvane {

namespace {

constexpr qint64 kMeshBytesRead = 400;
// Far above any character file the game can load (32767 skins of long names),
// low enough that a wrong file picked by mistake is not read into memory.
constexpr qint64 kMaxCharacterFileBytes = 64 * 1024 * 1024;
constexpr qint64 kPiece = 64 * 1024;

Failure<QString> readFailure(const QFile &file)
{
    return {QStringLiteral("%1: the file cannot be read (%2).")
                .arg(file.fileName(), file.errorString())};
}

Failure<QString> openFailure(const QFile &file)
{
    if (!file.exists())
        return {QStringLiteral("%1: the file does not exist.").arg(file.fileName())};
    return readFailure(file);
}

Failure<QString> tooLarge(const QString &path)
{
    return {QStringLiteral("%1: the file is larger than %2 MB, far larger than any character "
                           "file; it cannot be one.")
                .arg(path)
                .arg(kMaxCharacterFileBytes / (1024 * 1024))};
}

qsizetype countCrLf(const QByteArray &text, qsizetype from)
{
    qsizetype count = 0;
    for (qsizetype at = text.indexOf("\r\n", from); at >= 0; at = text.indexOf("\r\n", at + 2))
        ++count;
    return count;
}

} // namespace

Result<QByteArray> readCharacterFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return openFailure(file);
    if (!file.isSequential() && file.size() > kMaxCharacterFileBytes)
        return tooLarge(path);

    // Reads in pieces, so that pipes read whole too, until every line used has
    // ended in CR LF; how many are used is known once the count line has.
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
        return readFailure(file);
    return bytes;
}

Result<QByteArray> readMeshFileStart(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return openFailure(file);
    QByteArray bytes;
    while (bytes.size() < kMeshBytesRead) {
        const QByteArray piece = file.read(kMeshBytesRead - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        return readFailure(file);
    return bytes;
}

QString inputFileFault(const QString &path, const QString &reason)
{
    return QFileInfo(path).fileName() + QStringLiteral(": ") + reason;
}

} // namespace kelvane
