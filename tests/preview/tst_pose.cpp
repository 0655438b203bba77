#include "preview/pose.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kelvane;

namespace {

constexpr float kHalf = 0.70710678f; // sin 45° = cos 45°

SkeletonBone bone(QByteArray name, QByteArray parent, Vec3 position, Quat rotation)
{
    SkeletonBone made;
    made.name = std::move(name);
    made.parent = std::move(parent);
    made.position = position;
    made.rotation = rotation;
    return made;
}

// ROOT at (1, 0, 0) turned 90° about y, +x onto +z as the game turns (its
// quaternions are the inverse of Qt's); ARM 2 above it turned 90° about x,
// +y onto -z. The child comes first, as a file may list it.
Skeleton twoBoneChain()
{
    return {"adult",
            {bone("ARM", "ROOT", {0, 2, 0}, {kHalf, 0, 0, kHalf}),
             bone("ROOT", "NULL", {1, 0, 0}, {0, kHalf, 0, kHalf})}};
}

// Vertex 0 on ROOT, vertex 1 on ARM; ARM's blended vertex pulls vertex 0
// half way to itself.
MeshGeometry meshOnChain()
{
    MeshGeometry mesh;
    mesh.name = "sleeve";
    mesh.bones = {"ROOT", "ARM"};
    mesh.vertices = {{{0, 0, 2}, {0, 0, 1}}, {{0, 1, 0}, {0, 1, 0}}};
    mesh.texCoords = {{0, 0}, {1, 1}};
    mesh.faces = {{0, 1, 1}};
    mesh.bindings = {{0, 0, 1, -1, 0}, {1, 1, 1, 0, 1}};
    mesh.blends = {{16384, 0}};
    mesh.blendedVertices = {{{0, 1, 0}, {0, 0, 1}}};
    return mesh;
}

void expectNear(const QVector3D &actual, const QVector3D &expected)
{
    EXPECT_LT((actual - expected).length(), 1e-5f)
        << actual.x() << ' ' << actual.y() << ' ' << actual.z();
}

} // namespace

TEST(Pose, BonesChainParentThenPositionThenRotation)
{
    MeshGeometry mesh = meshOnChain();
    mesh.blends.clear();
    mesh.blendedVertices.clear();
    mesh.bindings[1].firstBlended = -1;
    const Skeleton skeleton = twoBoneChain();
    const Result<QList<PosedMesh>> posed = poseMeshes({mesh}, &skeleton);
    ASSERT_TRUE(posed.ok()) << qPrintable(posed.error());
    const PosedMesh &sleeve = posed.value().at(0);
    // ROOT turns (0, 0, 2) to (-2, 0, 0), then moves it by (1, 0, 0).
    expectNear(sleeve.positions[0], {-1, 0, 0});
    expectNear(sleeve.normals[0], {-1, 0, 0});
    // ARM turns (0, 1, 0) to (0, 0, -1) and lifts it to (0, 2, -1); ROOT
    // turns that to (1, 2, 0) and moves it to (2, 2, 0). Normals only turn.
    expectNear(sleeve.positions[1], {2, 2, 0});
    expectNear(sleeve.normals[1], {1, 0, 0});
    EXPECT_EQ(sleeve.texCoords[1], QVector2D(1, 1));
    EXPECT_EQ(sleeve.faces, mesh.faces);
}

TEST(Pose, BlendedVertexPullsItsVertexByItsWeight)
{
    const Skeleton skeleton = twoBoneChain();
    const Result<QList<PosedMesh>> posed = poseMeshes({meshOnChain()}, &skeleton);
    ASSERT_TRUE(posed.ok()) << qPrintable(posed.error());
    // Half way from (-1, 0, 0) to ARM's (0, 1, 0), placed at (2, 2, 0).
    expectNear(posed.value()[0].positions[0], {0.5f, 1, 0});
    // Its normal: half way from (-1, 0, 0) to ARM's (0, 0, 1) turned to (0, 1, 0).
    expectNear(posed.value()[0].normals[0], QVector3D(-1, 1, 0).normalized());
}

TEST(Pose, RefusesMissingBonesAndBrokenSkeletons)
{
    MeshGeometry hat = meshOnChain();
    hat.name = "cowboy-hat";
    hat.bones[1] = "HAT_BONE";
    Skeleton skeleton = twoBoneChain();
    const Result<QList<PosedMesh>> missing = poseMeshes({hat}, &skeleton);
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().contains(QStringLiteral("\"HAT_BONE\"")));
    EXPECT_TRUE(missing.error().contains(QStringLiteral("\"cowboy-hat\"")));

    skeleton.bones[1].parent = "ARM"; // each the other's parent
    const Result<QList<PosedMesh>> loop = poseMeshes({meshOnChain()}, &skeleton);
    ASSERT_FALSE(loop.ok());
    EXPECT_TRUE(loop.error().contains(QStringLiteral("ancestor")));
}

TEST(Pose, MeshesOnOneBoneNeedNoSkeleton)
{
    MeshGeometry head;
    head.bones = {"HEAD"};
    head.vertices = {{{0, 1, 0}, {0, 0, 1}}};
    head.bindings = {{0, 0, 1, -1, 0}};
    MeshGeometry glasses = head;
    EXPECT_FALSE(needsSkeleton({head, glasses}));
    const Result<QList<PosedMesh>> posed = poseMeshes({head, glasses}, nullptr);
    ASSERT_TRUE(posed.ok());
    // They stand as on the game's skeletons: the HEAD's +y is the character's
    // left (-x), its +x runs up the neck.
    EXPECT_EQ(posed.value()[1].positions[0], QVector3D(-1, 0, 0));
    head.vertices = {{{1, 0, 0}, {0, 0, 1}}};
    EXPECT_EQ(poseMeshes({head}, nullptr).value()[0].positions[0], QVector3D(0, 1, 0));

    MeshGeometry body = meshOnChain();
    EXPECT_TRUE(needsSkeleton({body}));
    glasses.bones = {"NOSE"};
    EXPECT_TRUE(needsSkeleton({head, glasses}));
    EXPECT_FALSE(poseMeshes({head, glasses}, nullptr).ok());
}
