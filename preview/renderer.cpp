#include "preview/renderer.h"

#include <QMatrix4x4>
#include <QVector4D>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace kelvane {

namespace {

constexpr QRgb kPlainGrey = 0xffc8c8c8;
constexpr float kFieldOfView = 30; // degrees, a mild perspective
constexpr float kMargin = 1.08f;   // of the bounding sphere's radius
constexpr float kAmbient = 0.35f;
constexpr float kDiffuse = 0.65f;

Texture textureOf(const QImage &image)
{
    if (image.isNull())
        return {QImage(), kPlainGrey};
    return {image.convertToFormat(QImage::Format_RGB32), kPlainGrey};
}

// Where the skeleton's space stands before the camera: the game's left-handed
// axes mirrored into Qt's right-handed ones (x negated, so that the front,
// towards +z, faces the camera and the character's left, towards the game's
// -x, lies on the viewer's right), centred, turned, and moved back from the
// camera.
QMatrix4x4 viewMatrix(const QVector3D &centre, float distance, const PreviewView &view)
{
    QMatrix4x4 matrix;
    matrix.translate(0, 0, -distance);
    matrix.rotate(view.pitchDegrees, 1, 0, 0);
    matrix.rotate(view.turnDegrees, 0, 1, 0);
    matrix.scale(-1, 1, 1);
    matrix.translate(-centre);
    return matrix;
}

bool finite(const QVector3D &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z());
}

// The median of values (reordered).
float median(QList<float> &values)
{
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The centre and radius that frame the bulk of points: those within four
// times the median distance from the median point, so that a few stray
// vertices far out are left out of the frame.
std::pair<QVector3D, float> bulkFrame(const QList<PosedMesh> &meshes)
{
    QList<QVector3D> points;
    for (const PosedMesh &mesh : meshes)
        for (const QVector3D &p : mesh.positions)
            if (finite(p))
                points.append(p);
    if (points.isEmpty())
        return {{}, 1};
    QList<float> values(points.size());
    QVector3D middle;
    for (int a = 0; a < 3; ++a) {
        for (qsizetype i = 0; i < points.size(); ++i)
            values[i] = points[i][a];
        middle[a] = median(values);
    }
    for (qsizetype i = 0; i < points.size(); ++i)
        values[i] = (points[i] - middle).length();
    const QList<float> distances = values;
    const float limit = 4 * median(values) + 1e-6f;
    QVector3D low = middle;
    QVector3D high = middle;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (distances[i] <= limit) {
            for (int a = 0; a < 3; ++a) {
                low[a] = std::min(low[a], points[i][a]);
                high[a] = std::max(high[a], points[i][a]);
            }
        }
    }
    const QVector3D centre = (low + high) / 2;
    float radius = 0;
    for (qsizetype i = 0; i < points.size(); ++i)
        if (distances[i] <= limit)
            radius = std::max(radius, (points[i] - centre).length());
    return {centre, radius > 0 ? radius : 1};
}

} // namespace

PreviewRenderer::PreviewRenderer(QList<PosedMesh> meshes, const QList<QImage> &textures)
    : PreviewRenderer(
          [&] {
              auto geometry = std::make_shared<Geometry>();
              std::tie(geometry->centre, geometry->radius) = bulkFrame(meshes);
              geometry->meshes = std::move(meshes);
              return std::shared_ptr<const Geometry>(std::move(geometry));
          }(),
          textures)
{
}

PreviewRenderer::PreviewRenderer(std::shared_ptr<const Geometry> geometry,
                                 const QList<QImage> &textures)
    : m_geometry(std::move(geometry))
{
    for (qsizetype i = 0; i < m_geometry->meshes.size(); ++i)
        m_textures.append(textureOf(textures.value(i)));
}

PreviewRenderer PreviewRenderer::dressed(const QList<QImage> &textures) const
{
    return PreviewRenderer(m_geometry, textures);
}

QImage PreviewRenderer::render(QSize size, const PreviewView &view) const
{
    Rasteriser frame(size, view.background.rgb());
    if (size.isEmpty())
        return frame.takeImage();
    const float aspect = float(size.width()) / size.height();
    // The narrower of the two fields of view decides how far back the camera stands.
    const float halfVertical = qDegreesToRadians(kFieldOfView) / 2;
    const float halfNarrowest =
        aspect >= 1 ? halfVertical : std::atan(std::tan(halfVertical) * aspect);
    const float radius = m_geometry->radius;
    const float distance = radius * kMargin / std::sin(halfNarrowest);
    QMatrix4x4 projection;
    // The far plane leaves room for stray vertices behind the frame.
    projection.perspective(kFieldOfView, aspect, std::max(distance - radius * kMargin, 1e-3f),
                           distance + 4 * radius * kMargin);
    const QMatrix4x4 toView = viewMatrix(m_geometry->centre, distance, view);
    const QMatrix4x4 toClip = projection * toView;
    const float halfWidth = size.width() / 2.0f;
    const float halfHeight = size.height() / 2.0f;

    QList<ScreenVertex> corners;
    for (qsizetype m = 0; m < m_geometry->meshes.size(); ++m) {
        const PosedMesh &mesh = m_geometry->meshes[m];
        corners.resize(mesh.positions.size());
        for (qsizetype i = 0; i < mesh.positions.size(); ++i) {
            const QVector4D clip = toClip * QVector4D(mesh.positions[i], 1);
            const QVector3D atView = toView.map(mesh.positions[i]);
            // Lit from the camera: full where the surface faces it, on either side.
            const float facing = std::abs(QVector3D::dotProduct(
                toView.mapVector(mesh.normals.value(i)), -atView.normalized()));
            const float invW = 1 / clip.w();
            const QVector2D uv = mesh.texCoords.value(i);
            corners[i] = {halfWidth * (1 + clip.x() * invW),
                          halfHeight * (1 - clip.y() * invW),
                          invW,
                          uv.x(),
                          uv.y(),
                          kAmbient + kDiffuse * facing};
        }
        for (const std::array<quint32, 3> &face : mesh.faces)
            if (face[0] < corners.size() && face[1] < corners.size() && face[2] < corners.size())
                frame.drawTriangle(corners[face[0]], corners[face[1]], corners[face[2]],
                                   m_textures[m]);
    }
    return frame.takeImage();
}

} // namespace kelvane
