#include "preview/rasteriser.h"

#include <algorithm>
#include <cmath>

namespace kelvane {

namespace {

// A quantity over the triangle as a plane: value = dx * x + dy * y + at0.
struct Plane {
    float dx;
    float dy;
    float at0;
    float at(float x, float y) const { return dx * x + dy * y + at0; }
};

// The plane through the three corners' values, given the barycentric planes.
Plane planeOf(const Plane (&weights)[3], float a, float b, float c)
{
    return {weights[0].dx * a + weights[1].dx * b + weights[2].dx * c,
            weights[0].dy * a + weights[1].dy * b + weights[2].dy * c,
            weights[0].at0 * a + weights[1].at0 * b + weights[2].at0 * c};
}

// The barycentric weight of the corner opposite the edge from p to q, over the
// triangle's signed area (so that it is 1 at that corner whatever the winding).
Plane weightOf(const ScreenVertex &p, const ScreenVertex &q, float inverseArea)
{
    const float dx = -(q.y - p.y) * inverseArea;
    const float dy = (q.x - p.x) * inverseArea;
    return {dx, dy, -(dx * p.x + dy * p.y)};
}

QRgb shaded(QRgb texel, int light)
{
    return 0xff000000u | (((qRed(texel) * light) >> 8) << 16) |
           (((qGreen(texel) * light) >> 8) << 8) | ((qBlue(texel) * light) >> 8);
}

bool finite(const ScreenVertex &v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.invW) && v.invW > 0;
}

} // namespace

Rasteriser::Rasteriser(QSize size, QRgb background)
    : m_image(size, QImage::Format_RGB32), m_depth(qsizetype(size.width()) * size.height(), 0.0f)
{
    m_image.fill(background);
}

void Rasteriser::drawTriangle(const ScreenVertex &a, const ScreenVertex &b, const ScreenVertex &c,
                              const Texture &texture)
{
    if (!finite(a) || !finite(b) || !finite(c))
        return;
    const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (!(std::abs(area) > 1e-6f))
        return;
    const int width = m_image.width();
    const int height = m_image.height();
    // Pixel centres are at +0.5; the box holds those that may lie inside.
    const int left = std::max(0, int(std::ceil(std::min({a.x, b.x, c.x}) - 0.5f)));
    const int right = std::min(width - 1, int(std::floor(std::max({a.x, b.x, c.x}) - 0.5f)));
    const int top = std::max(0, int(std::ceil(std::min({a.y, b.y, c.y}) - 0.5f)));
    const int bottom = std::min(height - 1, int(std::floor(std::max({a.y, b.y, c.y}) - 0.5f)));
    if (left > right || top > bottom)
        return;

    const float inverseArea = 1.0f / area;
    const Plane weights[3] = {weightOf(b, c, inverseArea), weightOf(c, a, inverseArea),
                              weightOf(a, b, inverseArea)};
    const Plane depth = planeOf(weights, a.invW, b.invW, c.invW);
    const Plane uOverW = planeOf(weights, a.u * a.invW, b.u * b.invW, c.u * c.invW);
    const Plane vOverW = planeOf(weights, a.v * a.invW, b.v * b.invW, c.v * c.invW);
    const Plane light = planeOf(weights, a.light, b.light, c.light);

    const QRgb *texels = texture.pixels.isNull()
                             ? nullptr
                             : reinterpret_cast<const QRgb *>(texture.pixels.constBits());
    const int textureWidth = texture.pixels.width();
    const int textureHeight = texture.pixels.height();
    const qsizetype textureStride = texture.pixels.bytesPerLine() / qsizetype(sizeof(QRgb));
    // A pixel a hair outside every edge still counts, so that no gap opens
    // between triangles sharing an edge.
    constexpr float kInside = -1e-5f;

    for (int y = top; y <= bottom; ++y) {
        const float py = y + 0.5f;
        const float px = left + 0.5f;
        float w0 = weights[0].at(px, py);
        float w1 = weights[1].at(px, py);
        float w2 = weights[2].at(px, py);
        float z = depth.at(px, py);
        float uw = uOverW.at(px, py);
        float vw = vOverW.at(px, py);
        float lit = light.at(px, py);
        auto *row = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        float *depthRow = m_depth.data() + qsizetype(y) * width;
        for (int x = left; x <= right; ++x) {
            if (w0 >= kInside && w1 >= kInside && w2 >= kInside && z > depthRow[x]) {
                depthRow[x] = z;
                QRgb texel = texture.plain;
                if (texels) {
                    const float w = 1.0f / z;
                    // fmin/fmax also send a NaN to the texture's edge.
                    const int tx =
                        int(std::fmax(0.0f, std::fmin(uw * w * textureWidth, textureWidth - 1.0f)));
                    const int ty = int(
                        std::fmax(0.0f, std::fmin(vw * w * textureHeight, textureHeight - 1.0f)));
                    texel = texels[ty * textureStride + tx];
                }
                row[x] = shaded(texel, int(std::fmax(0.0f, std::fmin(lit, 1.0f)) * 256.0f));
            }
            w0 += weights[0].dx;
            w1 += weights[1].dx;
            w2 += weights[2].dx;
            z += depth.dx;
            uw += uOverW.dx;
            vw += vOverW.dx;
            lit += light.dx;
        }
    }
}

} // namespace kelvane
