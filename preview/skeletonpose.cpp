#include "preview/skeletonpose.h"

#include "base/messagetext.h"

namespace kelvane {

namespace {

QMatrix4x4 localTransform(const SkeletonBone &bone)
{
    QMatrix4x4 local;
    local.translate(vectorOf(bone.position));
    local.rotate(rotationOf(bone.rotation));
    return local;
}

QString skeletonFault(const Skeleton &skeleton, const QString &fault)
{
    return QStringLiteral("The skeleton %1 cannot be used: %2")
        .arg(quotedBytes(skeleton.name), fault);
}

} // namespace

Result<BoneTransforms> boneTransforms(const Skeleton &skeleton)
{
    QHash<QByteArray, const SkeletonBone *> byKey;
    for (const SkeletonBone &bone : skeleton.bones)
        byKey.insert(boneKey(bone.name), &bone); // a later namesake wins, as a lookup would
    BoneTransforms world;
    for (const SkeletonBone &bone : skeleton.bones) {
        // Walk up to the nearest ancestor already placed, then place the chain
        // down again; a chain longer than the skeleton is a loop.
        QList<const SkeletonBone *> chain;
        const SkeletonBone *at = byKey.value(boneKey(bone.name));
        while (at && !world.contains(boneKey(at->name))) {
            if (chain.size() == skeleton.bones.size())
                return Failure{
                    skeletonFault(skeleton, QStringLiteral("the bone %1 is its own ancestor.")
                                                .arg(quotedBytes(bone.name)))};
            chain.append(at);
            if (at->parent == "NULL")
                break;
            const SkeletonBone *parent = byKey.value(boneKey(at->parent));
            if (!parent)
                return Failure{skeletonFault(
                    skeleton, QStringLiteral("the parent %1 of the bone %2 is not in it.")
                                  .arg(quotedBytes(at->parent), quotedBytes(at->name)))};
            at = parent;
        }
        for (qsizetype i = chain.size() - 1; i >= 0; --i) {
            const SkeletonBone *placed = chain[i];
            const QMatrix4x4 parent =
                placed->parent == "NULL" ? QMatrix4x4() : world.value(boneKey(placed->parent));
            world.insert(boneKey(placed->name), parent * localTransform(*placed));
        }
    }
    return world;
}

} // namespace kelvane
