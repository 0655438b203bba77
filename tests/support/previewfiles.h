#pragma once

#include <QByteArray>
#include <QString>
#include <Qt>

// Meshes, skeletons and textures for tests of the preview, as text files.
namespace testsupport {

// A mesh file (.skn): a square of half-size half across the bone's x and y
// axes, centred at (across, height, depth) in the bone's space.
QByteArray squareMeshFile(const QByteArray &name, const QByteArray &texture, const QByteArray &bone,
                          float height, float half, float across = 0, float depth = 0);

// An 8 x 8 BMP of one colour.
QByteArray bmpFile(Qt::GlobalColor colour);

// A skeleton file: ROOT, PELVIS on it, HEAD headHeight above.
QByteArray skeletonFile(float headHeight);

// Writes B001MA_body.cmx wearing "body" (a square on PELVIS) and "face" (a square
// on HEAD), their meshes, its texture in the tones lgt and drk (blue),
// hat.skn (a square above HEAD) and its red hat.bmp; the skeleton when asked.
[[nodiscard]] bool writeDressedCharacter(const QString &folder, bool withSkeleton);

} // namespace testsupport
