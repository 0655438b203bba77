#include "inputs/archivecharacters.h"

#include "base/keptwhileunchanged.h"
#include "base/linelist.h"
#include "formats/binarycharacter.h"
#include "formats/fileformats.h"
#include "formats/skeletonfile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace kelvane {

namespace {

// Enough for a binary file's three counts and a text file's first lines.
constexpr qint64 kStartRead = 256;

// What tells a binary file's kind: its three counts.
constexpr qint64 kBinaryStart = 16;
// Entries whose starts lie at most this far apart are read at once, in reads
// of at most kLongestRead bytes.
constexpr qint64 kGap = 4 * 1024;
constexpr qint64 kLongestRead = 256 * 1024;

constexpr qsizetype kArchivesKept = 4;

quint32 u32At(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Reads length bytes at offset into to: one call where the system has one.
qint64 readAt(QFile &file, qint64 offset, char *to, qint64 length)
{
#ifdef Q_OS_UNIX
    qint64 done = 0;
    while (done < length) {
        const ssize_t read =
            ::pread(file.handle(), to + done, size_t(length - done), off_t(offset + done));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return read < 0 && done == 0 ? -1 : done;
        done += read;
    }
    return done;
#else
    return file.seek(offset) ? file.read(to, length) : -1;
#endif
}

// The start of every entry named as a character file is judged, in the order
// of the bytes in the archive; entries lying close together are read at once.
QSet<qsizetype> judge(const FarArchive &archive)
{
    QSet<qsizetype> others;
    // Unbuffered: each read takes just the bytes asked for.
    QFile file(archive.path());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return others;
    const QList<FarEntry> &entries = archive.entries();
    // Named as a character file: an extension of one after at least one character.
    const QStringList extensions = extensionsOf(FileRole::Character);
    const auto namedAsCharacter = [&extensions](const QString &name) {
        return std::any_of(extensions.cbegin(), extensions.cend(), [&](const QString &extension) {
            return name.size() > extension.size() && name.endsWith(extension, Qt::CaseInsensitive);
        });
    };
    QList<qsizetype> judged;
    for (const qsizetype i : archive.entriesByOffset()) {
        if (namedAsCharacter(entries[i].name))
            judged.append(i);
    }
    const auto needed = [&](qsizetype i) { return qMin(entries[i].size, kStartRead); };
    QByteArray span;
    for (qsizetype first = 0; first < judged.size();) {
        // The run of entries whose starts lie at most kGap bytes apart.
        const qint64 from = entries[judged[first]].offset;
        qint64 to = from + needed(judged[first]);
        qsizetype last = first + 1;
        while (last < judged.size() && entries[judged[last]].offset - to <= kGap &&
               entries[judged[last]].offset + needed(judged[last]) - from <= kLongestRead) {
            to = qMax(to, entries[judged[last]].offset + needed(judged[last]));
            ++last;
        }
        // A lone entry is judged by its first bytes alone where they show a
        // binary file, which most are; only a text file is read further.
        qint64 read = -1;
        if (last == first + 1 && to - from > kBinaryStart) {
            span.resize(kBinaryStart);
            read = readAt(file, from, span.data(), span.size());
            if (read == kBinaryStart && !isUtf16Text(span) && looksLikeBinaryCharacter(span))
                to = from + kBinaryStart;
            else
                read = -1;
        }
        if (read < 0) {
            span.resize(to - from);
            read = readAt(file, from, span.data(), span.size());
        }
        for (qsizetype k = first; k < last; ++k) {
            const FarEntry &entry = entries[judged[k]];
            const qint64 at = entry.offset - from;
            const qint64 length =
                qMin(qMin(needed(judged[k]), to - entry.offset), qMax<qint64>(0, read - at));
            if (read >= 0 && holdsSkeletonsOrSkills(
                                 QByteArray::fromRawData(span.constData() + at, qsizetype(length))))
                others.insert(judged[k]);
        }
        first = last;
    }
    return others;
}

} // namespace

bool holdsSkeletonsOrSkills(const QByteArray &start)
{
    if (!isUtf16Text(start) && looksLikeBinaryCharacter(start)) {
        // Skeletons, or no suit but skills.
        return u32At(start, 0) > 0 ||
               (start.size() >= 12 && u32At(start, 4) == 0 && u32At(start, 8) > 0);
    }
    if (looksLikeSkeletonFile(start))
        return true;
    // A text animation: no skeleton, no suit, some skills (lines 2 to 4).
    const LineList lines = splitLines(start, 5);
    return !isUtf16Text(start) && lines.size() == 5 && lines[2].trimmed() == "0" &&
           lines[3].trimmed() == "0" && lines[4].trimmed().toUInt() > 0;
}

QSet<qsizetype> entriesHoldingNoCharacter(const FarArchive &archive, const FileStamp &stamp)
{
    static KeptWhileUnchanged<QSet<qsizetype>> kept(kArchivesKept);
    if (std::optional<QSet<qsizetype>> known = kept.find(archive.path(), stamp))
        return std::move(*known);
    QSet<qsizetype> others = judge(archive);
    kept.keep(archive.path(), stamp, others);
    return others;
}

} // namespace kelvane
