#pragma once

#include "base/filekind.h"
#include "formats/fararchive.h"

#include <QString>

#include <optional>

namespace kelvane {

// A path that leads into a FAR archive, as the browsers and kelvane-attach
// name an archive's entries and folders: the archive's own path, then the
// entry's name ("ARCHIVE.far/Skins/B001FAFit_01.cmx.bcf").
struct ArchivePath {
    QString archive; // the archive file, as given
    QString inner;   // the entry or folder inside it, "/" between names; empty for the archive
    FileStamp stamp; // the archive's, as it was found
};

// Where path leads when it passes through a FAR archive (a regular file
// whose name ends in ".far"), or names one; nothing for an ordinary path.
// Either slash separates names on Windows, "/" elsewhere.
std::optional<ArchivePath> archivePathOf(const QString &path);

// path with the name of the archive's entry it leads to as the archive spells
// it (entries are found without regard to case); path itself when it leads to
// no entry.
QString pathAsStored(const QString &path);

// The archive at path, its manifest read once and kept while the archive is
// unchanged on disk (same size and time of modification), so that listing a
// folder of it or reading an entry does not read the manifest again.
Result<FarArchive> openArchive(const QString &path);
// The same for an archive just found, without looking at the file again.
Result<FarArchive> openArchive(const ArchivePath &found);

} // namespace kelvane
