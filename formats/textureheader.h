#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvane {

// What the game needs of a texture: a BMP of 256 colours (8 bits per pixel),
// square, 32, 64, 128 or 256 pixels on a side. Read from the header only.
struct TextureHeader {
    int bitsPerPixel = 0;
    qint64 width = 0;
    qint64 height = 0;
};

// The longest side of a picture converted for the game: far above the 256 it
// draws, low enough that converting never takes long.
inline constexpr qint64 kLongestConvertedSide = 4096;

// How many bytes of a texture are read at most to draw it: far above the
// game's textures (256-colour BMPs of a few hundred KB), low enough that a
// wrong file is not read into memory.
inline constexpr qint64 kTextureBytesRead = 16 * 1024 * 1024;

// How many bytes of a BMP its header takes, as far as it is read.
inline constexpr qint64 kTextureHeaderBytes = 30;

// The header of a BMP whose first bytes are start, read from the Windows info
// header or the older OS/2 core header; a fault ("is not a BMP picture") when
// it is none. Reading it from a file adds "cannot be read (...)".
struct TextureRead {
    std::optional<TextureHeader> header;
    QString fault;
};
TextureRead textureHeaderOf(const QByteArray &start);

// Whether start begins a BMP: its signature.
bool looksLikeBmpPicture(const QByteArray &start);

// Whether start begins a TGA, which has no signature: its header's colour map
// kind, picture kind and bits per pixel are among those the format defines,
// and it has a size.
bool looksLikeTgaPicture(const QByteArray &start);

// Why the game cannot draw a texture of that header by its colours ("has 24
// bits per pixel, not 8 (256 colours)"), or by its size; nothing when it can.
std::optional<QString> colourFault(const TextureHeader &header);
std::optional<QString> sizeFault(const TextureHeader &header);

// Whether a picture of that header is too large to be converted for the game.
bool tooLargeToConvert(const TextureHeader &header);

} // namespace kelvane
