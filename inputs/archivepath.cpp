#include "inputs/archivepath.h"

#include "base/filekind.h"
#include "base/keptwhileunchanged.h"
#include "formats/fileformats.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

constexpr qsizetype kArchivesKept = 4;

} // namespace

std::optional<ArchivePath> archivePathOf(const QString &path)
{
    const QString slashed = QDir::fromNativeSeparators(path);
    // Only names ending in ".far" are looked at on disk, so ordinary paths
    // cost no file system call.
    const QLatin1StringView extension = formatFor(FileRole::Archive, Encoding::Binary).extension;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = slashed.indexOf(extension, from, Qt::CaseInsensitive);
        if (at < 0)
            return std::nullopt;
        const qsizetype end = at + extension.size();
        from = end;
        if (end < slashed.size() && slashed[end] != QLatin1Char('/'))
            continue;
        const QString archive = slashed.left(end);
        const FileStamp stamp = fileStamp(archive);
        if (stamp.kind != FileKind::Regular)
            continue;
        QString inner = slashed.mid(end + 1);
        while (inner.endsWith(QLatin1Char('/')))
            inner.chop(1);
        return ArchivePath{QDir::toNativeSeparators(archive), inner, stamp};
    }
}

QString pathAsStored(const QString &path)
{
    const std::optional<ArchivePath> inside = archivePathOf(path);
    if (!inside || inside->inner.isEmpty())
        return path;
    const Result<FarArchive> archive = openArchive(inside->archive);
    const FarEntry *entry = archive.ok() ? archive.value().find(inside->inner) : nullptr;
    if (!entry)
        return path;
    return inside->archive + QDir::separator() + QDir::toNativeSeparators(entry->name);
}

Result<FarArchive> openArchive(const QString &path)
{
    return openArchive(ArchivePath{path, {}, fileStamp(path)});
}

Result<FarArchive> openArchive(const ArchivePath &found)
{
    static KeptWhileUnchanged<FarArchive> kept(kArchivesKept);
    if (std::optional<FarArchive> known = kept.find(found.archive, found.stamp))
        return std::move(*known);
    const FileFormat &archive = formatFor(FileRole::Archive, Encoding::Binary);
    Result<FarArchive> opened = std::get<ArchiveReader>(archive.reader)(found.archive);
    if (opened.ok())
        kept.keep(found.archive, found.stamp, opened.value());
    return opened;
}

} // namespace kelvane
