#pragma once

#include "base/result.h"

#include <QImage>
#include <QString>

namespace kelvane {

// The picture of a texture file, a loose file or ARCHIVE.far/ENTRY, read as
// the table of formats says: the kind its content shows (or for a TGA, its
// name) picks the decoder, and no more than its read budget is read. The
// failure says why it cannot be drawn, naming the file. Safe off the GUI
// thread: only QImage is used.
Result<QImage> readTextureFile(const QString &path);

} // namespace kelvane
