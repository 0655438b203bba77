#include "preview/renderer.h"

#include <QMatrix4x4>
#include <QVector4D>

#include <algorithm>
#include <cmath>
#include <limits>

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
// axes mirrored into Qt's right-handed ones (z negated, so the character's
// front, towards the game's -z, faces the camera on +z), centred, turned, and
// moved back from the camera.
QMatrix4x4 viewMatrix(const QVector3D &centre, float distance, const PreviewView &view)
{
    QMatrix4x4 matrix;
    matrix.translate(0, 0, -distance);
    matrix.rotate(view.pitchDegrees, 1, 0, 0);
    matrix.rotate(view.turnDegrees, 0, 1, 0);
    matrix.scale(1, 1, -1);
    matrix.translate(-centre);
    return matrix;
}

} // namespace

PreviewRenderer::PreviewRenderer(QList<PosedMesh> meshes, const QList<QImage> &textures)
{
    constexpr float kHuge = std::numeric_limits<float>::max();
    QVector3D low(kHuge, kHuge, kHuge);
    QVector3D high(-kHuge, -kHuge, -kHuge);
    for (const PosedMesh &mesh : meshes)
        for (const QVector3D &p : mesh.positions)
            if (std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z())) {
                low = QVector3D(std::min(low.x(), p.x()), std::min(low.y(), p.y()),
                                std::min(low.z(), p.z()));
                high = QVector3D(std::max(high.x(), p.x()), std::max(high.y(), p.y()),
                                 std::max(high.z(), p.z()));
            }
    if (low.x() <= high.x()) {
        m_centre = (low + high) / 2;
        float radius = 0;
        for (const PosedMesh &mesh : meshes)
            for (const QVector3D &p : mesh.positions)
                if (std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z()))
                    radius = std::max(radius, (p - m_centre).length());
        if (radius > 0)
            m_radius = radius;
    }
    for (qsizetype i = 0; i < meshes.size(); ++i)
        m_surfaces.append({std::move(meshes[i]), textureOf(textures.value(i))});
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
    const float distance = m_radius * kMargin / std::sin(halfNarrowest);
    QMatrix4x4 projection;
    projection.perspective(kFieldOfView, aspect, std::max(distance - m_radius * kMargin, 1e-3f),
                           distance + m_radius * kMargin);
    const QMatrix4x4 toView = viewMatrix(m_centre, distance, view);
    const QMatrix4x4 toClip = projection * toView;
    const float halfWidth = size.width() / 2.0f;
    const float halfHeight = size.height() / 2.0f;

    QList<ScreenVertex> corners;
    for (const Surface &surface : m_surfaces) {
        const PosedMesh &mesh = surface.mesh;
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
                                   surface.texture);
    }
    return frame.takeImage();
}

} // namespace kelvane
