#pragma once

#include <QString>

#include <optional>

namespace kelvane {

// What the game needs of a texture: a BMP of 256 colours (8 bits per pixel),
// square, 32, 64, 128 or 256 pixels on a side. Read from the header only.
struct TextureHeader {
    int bitsPerPixel = 0;
    int width = 0;
    int height = 0;
};

// The header of the BMP at path; a fault ("cannot be read (...)", "is not a
// BMP picture") when it is none.
struct TextureRead {
    std::optional<TextureHeader> header;
    QString fault;
};
TextureRead readTextureHeader(const QString &path);

// Why the game cannot draw a texture of that header by its colours ("has 24
// bits per pixel, not 8 (256 colours)"), or by its size; nothing when it can.
std::optional<QString> colourFault(const TextureHeader &header);
std::optional<QString> sizeFault(const TextureHeader &header);

} // namespace kelvane
