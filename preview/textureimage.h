#pragma once

#include "base/result.h"

#include <QImage>
#include <QString>

namespace kelvane {

// How many bytes of a texture are read at most: far above the game's
// textures (256-colour BMPs of a few hundred KB), low enough that a wrong
// file is not read into memory.
inline constexpr qint64 kTextureBytesRead = 16 * 1024 * 1024;

// The picture of a texture file, a loose file or ARCHIVE.far/ENTRY. The
// failure says why it cannot be drawn, naming the file. Safe off the GUI
// thread: only QImage is used.
Result<QImage> readTextureFile(const QString &path);

} // namespace kelvane
