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

// int(value) kept within 0 to count - 1; a NaN gives count - 1.
int clampedIndex(float value, int count)
{
    const float high = float(count - 1);
    value = value < high ? value : high;
    return int(value > 0 ? value : 0);
}

// a mod count, from 0 to count - 1.
int wrapped(int a, int count)
{
    const int rest = a % count;
    return rest < 0 ? rest + count : rest;
}

// a and b mixed, t / 256 of b.
QRgb mixed(QRgb a, QRgb b, quint32 t)
{
    const quint32 rb = (((a & 0xff00ffu) * (256 - t) + (b & 0xff00ffu) * t) >> 8) & 0xff00ffu;
    const quint32 g = (((a & 0x00ff00u) * (256 - t) + (b & 0x00ff00u) * t) >> 8) & 0x00ff00u;
    return 0xff000000u | rb | g;
}

// The texture at (u, v), blended from the four nearest texels. Coordinates
// wrap (1.25 and -0.75 stand for 0.25), as the game's textures do: its heads
// have u below 0, and meshes written by the add-on have v from -1 to 0. A
// coordinate out of all reason (or a NaN) gives the first texel.
QRgb sampled(const QRgb *texels, qsizetype stride, int width, int height, float u, float v)
{
    if (!(std::abs(u) < 1e6f) || !(std::abs(v) < 1e6f))
        return texels[0];
    const float x = u * float(width) - 0.5f;
    const float y = v * float(height) - 0.5f;
    const int left = int(x) - (x < 0 && float(int(x)) != x);
    const int top = int(y) - (y < 0 && float(int(y)) != y);
    const quint32 across = std::min(quint32((x - float(left)) * 256), 256u);
    const quint32 down = std::min(quint32((y - float(top)) * 256), 256u);
    const int x0 = wrapped(left, width);
    const int x1 = wrapped(left + 1, width);
    const QRgb *row0 = texels + wrapped(top, height) * stride;
    const QRgb *row1 = texels + wrapped(top + 1, height) * stride;
    return mixed(mixed(row0[x0], row0[x1], across), mixed(row1[x0], row1[x1], across), down);
}

// value kept within low to high; a NaN (from overflowing coordinates) gives low.
float within(float value, int low, int high)
{
    value = value > float(low) ? value : float(low);
    return value < float(high) ? value : float(high);
}

// ceil(value) and floor(value), value first kept within low to high (std::ceil
// and std::floor are calls on a baseline x86-64).
int ceilWithin(float value, int low, int high)
{
    value = within(value, low, high);
    const int truncated = int(value);
    return truncated + (float(truncated) < value);
}
int floorWithin(float value, int low, int high)
{
    value = within(value, low, high);
    const int truncated = int(value);
    return truncated - (float(truncated) > value);
}

// Where along a row one barycentric weight reaches the limit of inside: at
// x = at0 + perRow * y. The weight grows to the right of a lower bound and to
// the left of an upper one; along a flat edge it only grows down or up, and
// rows are inside where at0 + perRow * y >= 0.
struct EdgeBound {
    enum Kind { Lower, Upper, Flat } kind;
    float at0;
    float perRow;
};

EdgeBound boundOf(const Plane &weight, float inside)
{
    if (weight.dx == 0)
        return {EdgeBound::Flat, weight.at0 - inside, weight.dy};
    return {weight.dx > 0 ? EdgeBound::Lower : EdgeBound::Upper, (inside - weight.at0) / weight.dx,
            -weight.dy / weight.dx};
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
    const int left = ceilWithin(std::min({a.x, b.x, c.x}) - 0.5f, 0, width);
    const int right = ceilWithin(std::max({a.x, b.x, c.x}) - 0.5f, 0, width) - 1;
    const int top = ceilWithin(std::min({a.y, b.y, c.y}) - 0.5f, 0, height);
    const int bottom = ceilWithin(std::max({a.y, b.y, c.y}) - 0.5f, 0, height) - 1;
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

    const EdgeBound bounds[3] = {boundOf(weights[0], kInside), boundOf(weights[1], kInside),
                                 boundOf(weights[2], kInside)};
    const float zStep = depth.dx;
    const float uStep = uOverW.dx;
    const float vStep = vOverW.dx;
    const float lightStep = light.dx;
    uchar *const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = top; y <= bottom; ++y) {
        const float py = y + 0.5f;
        int first = left;
        int last = right;
        for (const EdgeBound &bound : bounds) {
            const float x = bound.at0 + bound.perRow * py;
            if (bound.kind == EdgeBound::Lower)
                first = std::max(first, ceilWithin(x - 0.5f, left, right + 1));
            else if (bound.kind == EdgeBound::Upper)
                last = std::min(last, floorWithin(x - 0.5f, left - 1, right));
            else if (x < 0)
                last = left - 1;
        }
        if (first > last)
            continue;
        const float px = first + 0.5f;
        float z = depth.at(px, py);
        float uw = uOverW.at(px, py);
        float vw = vOverW.at(px, py);
        float lit = light.at(px, py);
        auto *row = reinterpret_cast<QRgb *>(bits + y * stride);
        float *depthRow = m_depth.data() + qsizetype(y) * width;
        for (int x = first; x <= last; ++x) {
            if (z > depthRow[x]) {
                depthRow[x] = z;
                QRgb texel = texture.plain;
                if (texels) {
                    const float w = 1.0f / z;
                    texel =
                        sampled(texels, textureStride, textureWidth, textureHeight, uw * w, vw * w);
                }
                row[x] = shaded(texel, clampedIndex(lit * 256.0f, 257));
            }
            z += zStep;
            uw += uStep;
            vw += vStep;
            lit += lightStep;
        }
    }
}

} // namespace kelvane
