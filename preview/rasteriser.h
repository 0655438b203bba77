#pragma once

#include <QImage>
#include <QList>
#include <QSize>

namespace kelvane {

// A corner of a triangle on screen: its pixel position, 1/w of its clip
// coordinates (larger is nearer), its texture coordinates and its light (0 to 1).
struct ScreenVertex {
    float x = 0;
    float y = 0;
    float invW = 0;
    float u = 0;
    float v = 0;
    float light = 1;
};

// A texture ready to sample, bilinearly: 32-bit pixels, v = 0 at its top
// row, wrapping beyond 0 and 1; a null image stands for one plain colour.
struct Texture {
    QImage pixels; // Format_RGB32
    QRgb plain = 0;
};

// A picture being drawn triangle by triangle, with a depth buffer so that
// nearer surfaces hide farther ones whatever the order they come in.
class Rasteriser final
{
public:
    Rasteriser(QSize size, QRgb background);

    // Fills the pixels whose centres lie inside the triangle (either winding)
    // with the texture, perspective-correct, times the light.
    void drawTriangle(const ScreenVertex &a, const ScreenVertex &b, const ScreenVertex &c,
                      const Texture &texture);

    QImage takeImage() { return std::move(m_image); }

private:
    QImage m_image;
    QList<float> m_depth;
};

} // namespace kelvane
