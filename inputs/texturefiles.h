#pragma once

#include "formats/textureheader.h"

#include <QString>

namespace kelvane {

// Textures read from loose files, opened only when they are regular files and
// never waited on.

// The header of the game's texture at path (see textureHeaderOf); a fault
// ("cannot be read (...)", "is not a BMP picture") when it is none.
TextureRead readTextureHeader(const QString &path);

// Whether the loose file at path holds a texture the game loads, by its
// signature.
bool holdsGameTexture(const QString &path);

} // namespace kelvane
