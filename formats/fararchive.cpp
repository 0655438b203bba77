#include "formats/fararchive.h"

#include "base/bytereader.h"
#include "base/messagetext.h"
#include "formats/fileformats.h"

#include <QFile>

#include <algorithm>

namespace kelvane {

namespace {

const QByteArray kSignature = QByteArrayLiteral("FAR!byAZ");
constexpr qint64 kHeaderBytes = 16;
// Far above the manifest of any archive of the game (tens of thousands of
// entries take a few MB), low enough that a damaged offset is not read into
// memory.
constexpr qint64 kMaxManifestBytes = 32 * 1024 * 1024;
// Size, size again, offset and name length, before the name.
constexpr qsizetype kEntryFixedBytes = 16;

Failure<QString> damaged(const QString &path, const QString &reason)
{
    return {QStringLiteral("%1: %2").arg(shownName(path), reason)};
}

// Whether the manifest would read as one of FAR version 1b, whose name
// lengths are 16-bit.
bool readsAsVersion1b(QByteArrayView manifest)
{
    ByteReader in(manifest);
    const std::optional<quint32> count = in.u32();
    if (!count || *count > quint64(in.remaining()) / 14)
        return false;
    for (quint32 k = 0; k < *count; ++k) {
        if (!in.bytes(12))
            return false;
        const std::optional<quint16> length = in.u16();
        if (!length || !in.bytes(*length))
            return false;
    }
    return in.atEnd();
}

// A hash of a name that is the same for every case of it: the names are
// looked up without regard to case, without a folded copy of each.
quint64 foldedHash(QStringView name)
{
    quint64 hash = 14695981039346656037ULL;
    for (const QChar c : name)
        hash = (hash ^ c.toCaseFolded().unicode()) * 1099511628211ULL;
    return hash;
}

QString entryShown(const FarEntry &entry)
{
    return QStringLiteral("entry %1").arg(shownName(entry.name));
}

} // namespace

bool isArchiveName(const QString &fileName)
{
    return isNamedAs(fileName, formatFor(FileRole::Archive, Encoding::Binary));
}

QString entryNameFromStored(QByteArrayView stored)
{
    QString name = QString::fromLatin1(stored);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name;
}

Result<FarArchive> FarArchive::open(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return damaged(path,
                       QStringLiteral("the archive cannot be read (%1).").arg(file.errorString()));
    return read(file, path);
}

Result<FarArchive> FarArchive::read(QIODevice &device, const QString &path)
{
    const qint64 size = device.size();
    const QByteArray header = device.read(kHeaderBytes);
    if (!header.startsWith(kSignature.first(qMin(header.size(), kSignature.size()))) ||
        header.size() < kSignature.size())
        return damaged(path, QStringLiteral("this is not a FAR archive (it does not begin with "
                                            "\"FAR!byAZ\")."));
    ByteReader in(header);
    in.bytes(kSignature.size());
    const std::optional<quint32> version = in.u32();
    const std::optional<quint32> manifestAt = in.u32();
    if (!manifestAt)
        return damaged(path, QStringLiteral("the archive ends within its heading; it is cut "
                                            "short."));
    if (*version == 3)
        return damaged(path, QStringLiteral("this is a FAR archive of version 3, whose entries "
                                            "are compressed; only version 1a archives can be "
                                            "read."));
    if (*version != 1)
        return damaged(path, QStringLiteral("this FAR archive has version %1; only version 1a "
                                            "archives can be read.")
                                 .arg(*version));
    if (*manifestAt < kHeaderBytes || qint64(*manifestAt) > size - 4)
        return damaged(path, QStringLiteral("its list of entries is said to begin at byte %1, "
                                            "but the archive holds %2 bytes; it is cut short or "
                                            "damaged.")
                                 .arg(*manifestAt)
                                 .arg(size));
    if (size - *manifestAt > kMaxManifestBytes)
        return damaged(path, QStringLiteral("its list of entries would take %1 MB, more than any "
                                            "archive of the game; it is damaged.")
                                 .arg((size - *manifestAt) / (1024 * 1024)));
    if (!device.seek(*manifestAt))
        return damaged(
            path, QStringLiteral("the archive cannot be read (%1).").arg(device.errorString()));
    const QByteArray manifest = device.read(size - *manifestAt);
    if (manifest.size() != size - *manifestAt)
        return damaged(path, QStringLiteral("the archive cannot be read whole; it changed while "
                                            "read, or the disk failed."));

    ByteReader list(manifest);
    const quint32 count = *list.u32();
    if (count > quint64(list.remaining()) / kEntryFixedBytes)
        return damaged(path, QStringLiteral("it gives %1 entries, more than its list of entries "
                                            "can hold; it is damaged.")
                                 .arg(count));
    FarArchive archive;
    archive.m_path = path;
    archive.m_entries.reserve(count);
    for (quint32 k = 0; k < count; ++k) {
        const std::optional<quint32> stored = list.u32();
        const std::optional<quint32> storedAgain = list.u32();
        const std::optional<quint32> offset = list.u32();
        const std::optional<quint32> nameLength = list.u32();
        const std::optional<QByteArrayView> name =
            nameLength ? list.bytes(qsizetype(*nameLength)) : std::nullopt;
        if (!name) {
            if (readsAsVersion1b(manifest))
                return damaged(path, QStringLiteral("this is a FAR archive of version 1b (16-bit "
                                                    "name lengths); only version 1a archives can "
                                                    "be read."));
            return damaged(path, QStringLiteral("its list of entries ends within entry %1 of %2; "
                                                "it is cut short or damaged.")
                                     .arg(k + 1)
                                     .arg(count));
        }
        FarEntry entry{entryNameFromStored(*name), *offset, *stored};
        if (*stored != *storedAgain)
            return damaged(path, QStringLiteral("%1 gives two different sizes (%2 and %3), as "
                                                "compressed archives do; only version 1a "
                                                "archives can be read.")
                                     .arg(entryShown(entry), QString::number(*stored),
                                          QString::number(*storedAgain)));
        if (entry.offset < kHeaderBytes || entry.offset + entry.size > *manifestAt)
            return damaged(path, QStringLiteral("%1 lies beyond the files' bytes (bytes %2 to "
                                                "%3, of %4); it is damaged.")
                                     .arg(entryShown(entry), QString::number(entry.offset),
                                          QString::number(entry.offset + entry.size),
                                          QString::number(*manifestAt)));
        archive.m_entries.append(std::move(entry));
    }

    QList<qsizetype> &byOffset = archive.m_byOffset;
    byOffset.reserve(archive.m_entries.size());
    for (qsizetype i = 0; i < archive.m_entries.size(); ++i) {
        if (archive.m_entries[i].size > 0)
            byOffset.append(i);
    }
    const auto before = [&entries = archive.m_entries](qsizetype a, qsizetype b) {
        return entries[a].offset < entries[b].offset;
    };
    // Archives are mostly written in the order of their manifest.
    if (!std::is_sorted(byOffset.cbegin(), byOffset.cend(), before))
        std::sort(byOffset.begin(), byOffset.end(), before);
    for (qsizetype i = 1; i < byOffset.size(); ++i) {
        const FarEntry &previous = archive.m_entries[byOffset[i - 1]];
        const FarEntry &next = archive.m_entries[byOffset[i]];
        if (previous.offset + previous.size > next.offset)
            return damaged(path, QStringLiteral("%1 and %2 overlap; the archive is damaged.")
                                     .arg(entryShown(previous), entryShown(next)));
    }
    archive.m_byName.fill({0, -1}, 2 * archive.m_entries.size());
    for (qsizetype i = 0; i < archive.m_entries.size(); ++i) {
        const quint64 hash = foldedHash(archive.m_entries[i].name);
        qsizetype at = qsizetype(hash % quint64(archive.m_byName.size()));
        while (archive.m_byName[at].second >= 0)
            at = (at + 1) % archive.m_byName.size();
        archive.m_byName[at] = {hash, i};
    }
    return archive;
}

const FarEntry *FarArchive::find(const QString &name) const
{
    QString wanted = name;
    wanted.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Case twins ("A.cmx.bcf", "a.cmx.bcf") are each found by their own name.
    // Entries of one name follow each other in the order of the manifest.
    if (m_byName.isEmpty())
        return nullptr;
    const quint64 hash = foldedHash(wanted);
    const FarEntry *first = nullptr;
    for (qsizetype at = qsizetype(hash % quint64(m_byName.size())); m_byName[at].second >= 0;
         at = (at + 1) % m_byName.size()) {
        if (m_byName[at].first != hash)
            continue;
        const FarEntry *entry = &m_entries[m_byName[at].second];
        if (entry->name == wanted)
            return entry;
        if (!first && entry->name.compare(wanted, Qt::CaseInsensitive) == 0)
            first = entry;
    }
    return first;
}

Result<QByteArray> FarArchive::readEntry(const FarEntry &entry, qint64 maxBytes) const
{
    QFile file(m_path);
    const qint64 wanted = qMin(entry.size, maxBytes);
    // Unbuffered: only the entry's own bytes are read.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ||
        file.size() < entry.offset + entry.size || !file.seek(entry.offset))
        return damaged(m_path, QStringLiteral("%1 cannot be read; the archive changed or "
                                              "cannot be read.")
                                   .arg(entryShown(entry)));
    const QByteArray bytes = file.read(wanted);
    if (bytes.size() != wanted)
        return damaged(m_path, QStringLiteral("%1 cannot be read whole (%2).")
                                   .arg(entryShown(entry), file.errorString()));
    return bytes;
}

} // namespace kelvane
