#pragma once

#include <QByteArray>
#include <QString>

// Meshes, skeletons and textures for tests of the preview, as text files.
namespace testsupport {

// A mesh file (.skn): a square of half-size half facing the front, centred
// height above its bone.
QByteArray squareMeshFile(const QByteArray &name, const QByteArray &texture, const QByteArray &bone,
                          float height, float half);

// A skeleton file: ROOT, PELVIS on it, HEAD headHeight above.
QByteArray skeletonFile(float headHeight);

// Writes B001MA_body.cmx wearing "body" (a square on PELVIS) and "face" (a square
// on HEAD), their meshes, its texture in the tones lgt and drk (blue),
// hat.skn (a square above HEAD) and its red hat.bmp; the skeleton when asked.
[[nodiscard]] bool writeDressedCharacter(const QString &folder, bool withSkeleton);

} // namespace testsupport
