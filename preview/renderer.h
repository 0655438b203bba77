#pragma once

#include "preview/pose.h"
#include "preview/rasteriser.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QVector3D>

#include <memory>

namespace kelvane {

// How the character is seen. It stands framed in the middle, facing the
// viewer at a turn of 0 with its left hand on the viewer's right; a positive
// turn brings its front round to the viewer's right (90 shows its right
// side), a positive pitch shows it more from above.
struct PreviewView {
    float turnDegrees = 0;
    float pitchDegrees = 0;
    QColor background = QColor(0x5b, 0x6b, 0x7c);
};

// Draws posed meshes in software (no graphics card needed), textured and lit
// from the viewer's side, both sides of every triangle.
class PreviewRenderer final
{
public:
    // textures[i] dresses meshes[i]; a null or missing one draws it plain
    // light grey. Textures are converted once, here.
    PreviewRenderer(QList<PosedMesh> meshes, const QList<QImage> &textures);

    // The same meshes, shared, dressed in other textures.
    PreviewRenderer dressed(const QList<QImage> &textures) const;

    QImage render(QSize size, const PreviewView &view) const;

private:
    struct Geometry {
        QList<PosedMesh> meshes;
        // The sphere that holds the bulk of the vertices (a stray one far
        // from the rest left out), which stays framed however the character
        // turns.
        QVector3D centre;
        float radius = 1;
    };
    PreviewRenderer(std::shared_ptr<const Geometry> geometry, const QList<QImage> &textures);

    std::shared_ptr<const Geometry> m_geometry;
    QList<Texture> m_textures;
};

} // namespace kelvane
