#pragma once

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

// The header of the BMP at path, read from the Windows info header or the
// older OS/2 core header; a fault ("cannot be read (...)", "is not a BMP
// picture") when it is none.
struct TextureRead {
    std::optional<TextureHeader> header;
    QString fault;
};
TextureRead readTextureHeader(const QString &path);

// Why the game cannot draw a texture of that header by its colours ("has 24
// bits per pixel, not 8 (256 colours)"), or by its size; nothing when it can.
std::optional<QString> colourFault(const TextureHeader &header);
std::optional<QString> sizeFault(const TextureHeader &header);

// Whether a picture of that header is too large to be converted for the game.
bool tooLargeToConvert(const TextureHeader &header);

} // namespace kelvane
