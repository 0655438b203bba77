#pragma once

#include "base/filekind.h"
#include "base/result.h"
#include "formats/fararchive.h"

#include <QHash>
#include <QString>

namespace kelvane {

// A FAR archive with its entries indexed by file name, the last part of the
// entry's name: the game finds meshes and textures in its archives by that
// name alone, whatever folder of the archive holds them.
struct NamedArchive {
    FarArchive archive;
    // Each case-folded file name to its first entry in the manifest.
    QHash<QString, qsizetype> byFileName;

    // The first entry called fileName in any folder, in any case; nothing
    // when there is none.
    const FarEntry *findFileName(const QString &fileName) const;
};

// The archive at path, whose stamp was just taken and shows a regular file,
// read and indexed once and kept while it is unchanged on disk.
Result<NamedArchive> openNamedArchive(const QString &path, const FileStamp &stamp);

} // namespace kelvane
