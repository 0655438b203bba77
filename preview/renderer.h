#pragma once

#include "preview/pose.h"
#include "preview/rasteriser.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QVector3D>

namespace kelvane {

// How the character is seen. It stands framed whole in the middle, facing the
// viewer at a turn of 0; a positive turn brings its front round to the
// viewer's right, a positive pitch shows it more from above.
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

    QImage render(QSize size, const PreviewView &view) const;

private:
    struct Surface {
        PosedMesh mesh;
        Texture texture;
    };
    QList<Surface> m_surfaces;
    // The sphere that holds every vertex, which stays framed however the
    // character turns.
    QVector3D m_centre;
    float m_radius = 1;
};

} // namespace kelvane
