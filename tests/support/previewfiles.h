#pragma once

#include "compose/geometry.h"

#include <QByteArray>
#include <QColor>
#include <QString>

// Whole meshes, skeletons and textures for tests of the preview.
namespace testsupport {

// A box of half-size half around centre, every corner bound to bone.
kelvane::MeshGeometry boxMesh(const QByteArray &name, const QByteArray &texture,
                              const QByteArray &bone, kelvane::Vec3 centre, float half);

// A text mesh file (.skn) of mesh; blended vertices are left out.
QByteArray textMeshFile(const kelvane::MeshGeometry &mesh);

// A text skeleton file (adult-skeleton.cmx) holding skeleton.
QByteArray textSkeletonFile(const kelvane::Skeleton &skeleton);

// A skeleton "adult": ROOT at the origin, PELVIS on it, and HEAD headHeight
// above PELVIS.
kelvane::Skeleton standingSkeleton(float headHeight);

// A small BMP picture of one colour.
QByteArray bmpPicture(const QColor &colour);

// Writes a folder a character can be previewed from: B001MA_body.cmx wearing
// "body" (a box on PELVIS) and "face" (a box on HEAD), their meshes, the
// character's texture in the tones lgt and drk (blue), and hat.skn (a red box
// on HEAD, its texture hat.bmp beside it). The skeleton only when asked.
[[nodiscard]] bool writeDressedCharacter(const QString &folder, bool withSkeleton);

} // namespace testsupport
