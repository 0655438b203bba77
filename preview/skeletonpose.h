#pragma once

#include "base/result.h"
#include "formats/geometry.h"

#include <QByteArray>
#include <QHash>
#include <QMatrix4x4>
#include <QQuaternion>
#include <QVector3D>

namespace kelvane {

// The game's numbers as Qt's maths types. The game's axes are kept (y up, the
// character's front towards +z, its left towards -x; they are left-handed,
// which the renderer mirrors). Its quaternions turn the other way from Qt's: the rotation a bone
// stores as (x, y, z, w) is Qt's (w, -x, -y, -z).
inline QVector3D vectorOf(const Vec3 &v)
{
    return {v.x, v.y, v.z};
}
inline QQuaternion rotationOf(const Quat &q)
{
    return QQuaternion(q.w, -q.x, -q.y, -q.z).normalized();
}

// Where each bone of a skeleton stands at rest, from the skeleton's space to
// the bone's: its parent's transform, then its position, then its rotation.
// Keyed by the bone's name in upper case, since names are matched without
// regard to case.
using BoneTransforms = QHash<QByteArray, QMatrix4x4>;

// The transforms of skeleton's bones, which may come in any order. Refused: a
// bone whose parent the skeleton lacks, bones that are their own ancestors.
Result<BoneTransforms> boneTransforms(const Skeleton &skeleton);

// The key of a bone's name in BoneTransforms.
inline QByteArray boneKey(const QByteArray &name)
{
    return name.toUpper();
}

} // namespace kelvane
