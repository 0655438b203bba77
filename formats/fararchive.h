#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

class QIODevice;

namespace kelvane {

// One file inside a FAR archive: its name (subfolders separated by "/"), and
// where its bytes lie in the archive.
struct FarEntry {
    QString name;
    qint64 offset = 0;
    qint64 size = 0;
};

// The game's FAR archives, version 1a: the signature "FAR!byAZ", a u32 version
// (1) and the u32 offset of the manifest; the files' bytes; the manifest: a u32
// count of entries and per entry its size twice, its offset, a u32 name length
// and the name. Only the manifest is read when an archive is opened, and only
// an entry's own bytes when it is read; the archive is opened read-only for
// each read and closed after it, so it is never held.
class FarArchive final
{
public:
    // Reads the manifest of the archive at path, every count, length and
    // offset checked against the archive's size. The failure names the file.
    static Result<FarArchive> open(const QString &path);
    // The same from a device already open at its start, whose size is the
    // archive's; path names it in messages and reads.
    static Result<FarArchive> read(QIODevice &device, const QString &path);

    const QString &path() const { return m_path; }
    const QList<FarEntry> &entries() const { return m_entries; }
    // The indices of the entries holding any bytes, in the order of their
    // bytes in the archive.
    const QList<qsizetype> &entriesByOffset() const { return m_byOffset; }

    // The entry of that name, either slash separating folders: the one of
    // exactly that name, or else the first whose name equals it without
    // regard to case; nothing when there is none.
    const FarEntry *find(const QString &name) const;

    // The first maxBytes bytes of entry (all of it when it is shorter).
    Result<QByteArray> readEntry(const FarEntry &entry, qint64 maxBytes) const;

private:
    QString m_path;
    QList<FarEntry> m_entries;
    QList<qsizetype> m_byOffset;
    // The entries by a hash of their names, case-folded: a table of twice
    // their count, each entry at its hash or the next free place after it.
    QList<std::pair<quint64, qsizetype>> m_byName;
};

// Whether a file name is that of a FAR archive: it ends in ".far", in any case.
bool isArchiveName(const QString &fileName);

// An entry name as stored, with "\" between folders, as Kelvane shows it:
// with "/" between folders.
QString entryNameFromStored(QByteArrayView stored);

} // namespace kelvane
