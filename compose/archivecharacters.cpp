#include "compose/archivecharacters.h"

#include "compose/attach.h"
#include "compose/characterbinary.h"
#include "compose/keptwhileunchanged.h"
#include "compose/linelist.h"
#include "compose/skeletonfile.h"

#include <QFile>
#include <QtEndian>

namespace kelvane {

namespace {

// Enough for a binary file's three counts and a text file's first lines.
constexpr qint64 kStartRead = 256;

constexpr qsizetype kArchivesKept = 4;

quint32 u32At(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

QSet<qsizetype> judge(const FarArchive &archive)
{
    QSet<qsizetype> others;
    // Unbuffered: each read takes just the bytes asked for.
    QFile file(archive.path());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return others;
    const QList<FarEntry> &entries = archive.entries();
    QByteArray start;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const FarEntry &entry = entries[i];
        if (ownNameOf(entry.name).isEmpty() || !file.seek(entry.offset))
            continue;
        start.resize(qMin(entry.size, kStartRead));
        const qint64 read = file.read(start.data(), start.size());
        if (read < 0)
            continue;
        start.truncate(read);
        if (holdsSkeletonsOrSkills(start))
            others.insert(i);
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
    return looksLikeSkeletonFile(start);
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
