#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

// Meshes, skeletons and textures for tests of the preview, as text files.
namespace testsupport {

// A mesh file (.skn): a cube of half-size half, centred height above its bone.
QByteArray boxMeshFile(const QByteArray &name, const QByteArray &texture, const QByteArray &bone,
                       float height, float half);

// A skeleton file: ROOT, PELVIS on it, HEAD headHeight above.
QByteArray skeletonFile(float headHeight);
QByteArray bmpPicture(const QColor &colour);

// Writes B001MA_body.cmx wearing "body" (a box on PELVIS) and "face" (a box
// on HEAD), their meshes, its texture in the tones lgt and drk (blue),
// hat.skn (a box above HEAD) and its red hat.bmp; the skeleton when asked.
[[nodiscard]] bool writeDressedCharacter(const QString &folder, bool withSkeleton);

} // namespace testsupport
