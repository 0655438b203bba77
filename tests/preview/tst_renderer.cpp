#include "preview/renderer.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

constexpr QSize kSize(64, 64);
const QColor kBackground(0, 0, 0);

// A square of half-size size facing the viewer at depth z (the game's axes:
// the character's front towards +z, its left towards -x), texture coordinate
// (0, 0) at its top left as seen from the front (uv added to every one).
PosedMesh square(float z, float size, QVector3D offset = {}, QVector2D uv = {})
{
    PosedMesh mesh;
    for (const auto &[x, y] : {std::pair{1, 1}, {-1, 1}, {1, -1}, {-1, -1}}) {
        mesh.positions.append(QVector3D(x * size, y * size, z) + offset);
        mesh.normals.append({0, 0, 1});
        mesh.texCoords.append(QVector2D(x > 0 ? 0.0f : 1.0f, y > 0 ? 0.0f : 1.0f) + uv);
    }
    mesh.faces = {{0, 1, 2}, {1, 3, 2}};
    return mesh;
}

QImage plain(Qt::GlobalColor colour)
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The strongest of a pixel's channels, which shading keeps.
char hue(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    if (r == 0 && g == 0 && b == 0)
        return '-';
    if (r > 0 && g > 0 && b > 0)
        return 'w';
    return r >= g && r >= b ? 'r' : (g >= b ? 'g' : 'b');
}

// A small red square in front of a large blue one.
QImage frontAndBack(float turn, bool backFirst, QVector3D offset = {})
{
    QList<PosedMesh> meshes = {square(0.5f, 0.5f, offset), square(-0.5f, 1, offset)};
    QList<QImage> textures = {plain(Qt::red), plain(Qt::blue)};
    if (backFirst) {
        meshes.swapItemsAt(0, 1);
        textures.swapItemsAt(0, 1);
    }
    return PreviewRenderer(meshes, textures).render(kSize, {turn, 0, kBackground});
}

} // namespace

TEST(Renderer, NearerSurfaceHidesFartherOneAndTurningShowsTheBack)
{
    for (const bool backFirst : {false, true}) {
        const QImage front = frontAndBack(0, backFirst);
        EXPECT_EQ(hue(front.pixel(32, 32)), 'r') << backFirst;
        EXPECT_EQ(hue(front.pixel(32 + 14, 32)), 'b') << backFirst;
        EXPECT_EQ(hue(frontAndBack(180, backFirst).pixel(32, 32)), 'b') << backFirst;
    }
}

TEST(Renderer, SceneIsFramedWholeOnTheBackground)
{
    // Far from the origin, the scene is still drawn in the middle.
    const QImage image = frontAndBack(30, false, {100, -50, 20});
    QRect drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kBackground.rgb())
                drawn |= QRect(x, y, 1, 1);
    EXPECT_TRUE(QRect(1, 1, 62, 62).contains(drawn)) << drawn.x() << ' ' << drawn.width();
    EXPECT_GT(drawn.height(), 64 / 3);
    EXPECT_LT(std::abs(drawn.center().y() - 32), 3);
    EXPECT_EQ(image.pixel(0, 0), kBackground.rgb());
    EXPECT_EQ(image.pixel(63, 63), kBackground.rgb());
}

// The character's left (-x) is on the viewer's right, unmirrored, and
// texture coordinates beyond 0 and 1 wrap (the add-on writes v from -1 to 0).
TEST(Renderer, TextureTopLeftAtTheTopLeftWrappingAndMissingTextureIsGrey)
{
    // Quarters of 8 x 8 texels, so that blending between texels keeps them apart.
    QImage quarters(16, 16, QImage::Format_Indexed8);
    quarters.setColorTable(
        {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)});
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            quarters.setPixel(x, y, x / 8 + 2 * (y / 8));
    for (const QVector2D uv : {QVector2D(0, 0), QVector2D(1, -1), QVector2D(-2, 3)}) {
        const QImage image = PreviewRenderer({square(0, 1, {}, uv)}, {quarters}).render(kSize, {});
        EXPECT_EQ(hue(image.pixel(24, 24)), 'r') << uv.x();
        EXPECT_EQ(hue(image.pixel(40, 24)), 'g') << uv.x();
        EXPECT_EQ(hue(image.pixel(24, 40)), 'b') << uv.x();
        EXPECT_EQ(hue(image.pixel(40, 40)), 'w') << uv.x();
    }
    // A small square on the character's left, seen from the front and from its left side.
    const QList<PosedMesh> leftMark = {square(0.1f, 0.2f, {-0.7f, 0, 0}), square(0, 1)};
    const PreviewRenderer marked(leftMark, {plain(Qt::red), plain(Qt::blue)});
    const QImage front = marked.render(kSize, {});
    EXPECT_EQ(hue(front.pixel(32 + 12, 32)), 'r');
    EXPECT_EQ(hue(front.pixel(32 - 12, 32)), 'b');

    const QImage grey = PreviewRenderer({square(0, 1)}, {}).render(kSize, {});
    const QRgb middle = grey.pixel(32, 32);
    EXPECT_TRUE(qRed(middle) > 150 && qRed(middle) == qGreen(middle) &&
                qGreen(middle) == qBlue(middle));
}

// One stray vertex far from the rest does not shrink the character to a dot.
TEST(Renderer, FramedOnTheBulkOfTheVertices)
{
    PosedMesh stray = square(0, 1);
    stray.positions.append({500, 300, 0});
    stray.normals.append({0, 0, 1});
    stray.texCoords.append(QVector2D());
    stray.faces.append(std::array<quint32, 3>{0, 1, 4});
    const QImage image = PreviewRenderer({stray}, {plain(Qt::red)}).render(kSize, {});
    EXPECT_EQ(hue(image.pixel(32 - 15, 32 + 15)), 'r');
}

TEST(Renderer, DamagedGeometryIsSkippedNotFollowed)
{
    // Indices past the lists, a vertex at NaN and one far out: posed and drawn
    // without reading or writing out of bounds (the sanitizer build watches).
    MeshGeometry mesh;
    mesh.bones = {"HEAD"};
    mesh.vertices = {
        {{0, 0, 0}, {0, 0, 1}}, {{1, 0, 0}, {}}, {{NAN, 1, 0}, {}}, {{0, 1e30f, 0}, {}}};
    mesh.faces = {{0, 1, 2}, {0, 1, 3}, {0, 1, 9}};
    mesh.bindings = {{0, 2, 9, 3, 9}, {5, 0, 1, -1, 0}};
    mesh.blends = {{99999, 1}};
    const Result<QList<PosedMesh>> posed = poseMeshes({mesh}, nullptr);
    ASSERT_TRUE(posed.ok());
    QList<PosedMesh> meshes = posed.value();
    meshes.append(square(0, 1));
    EXPECT_EQ(PreviewRenderer(meshes, {plain(Qt::red)}).render(kSize, {}).size(), kSize);
}
