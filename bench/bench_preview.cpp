// One frame of the preview: a whole character of about 4,000 triangles (a
// body, a head, two hands and an accessory), posed on a skeleton of five
// bones and drawn at 512 x 512. Target: at most 10 ms.
// `bench_preview --picture=FILE.png` writes that character seen from the
// front, turned 60 degrees and from behind, to look at instead.
#include "preview/pose.h"
#include "preview/renderer.h"
#include "preview/skeletonpose.h"

#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <numbers>

using namespace kelvane;

namespace {

constexpr float kWaist = 1.2f; // below it the pelvis moves the body, above it the spine

SkeletonBone bone(QByteArray name, QByteArray parent, Vec3 position, Quat rotation = {})
{
    SkeletonBone made;
    made.name = std::move(name);
    made.parent = std::move(parent);
    made.position = position;
    made.rotation = rotation;
    return made;
}

Skeleton skeleton()
{
    const float turn = std::sin(0.1f); // the spine turned a little about y
    return {"adult",
            {bone("HEAD", "SPINE", {0, 0.65f, 0}), bone("PELVIS", "NULL", {0, 1, 0}),
             bone("SPINE", "PELVIS", {0, 0.2f, 0}, {0, turn, 0, std::cos(0.1f)}),
             bone("L_HAND", "SPINE", {-0.45f, -0.35f, 0}),
             bone("R_HAND", "SPINE", {0.45f, -0.35f, 0})}};
}

Vec3 vec(const QVector3D &v)
{
    return {v.x(), v.y(), v.z()};
}

// A texture of 256 colours: bands down it, a grid across, and a yellow patch
// where the face goes (the middle of the top), so that its way up shows.
QImage texture(QRgb tint)
{
    QImage image(256, 256, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (int i = 0; i < 255; ++i)
        colours.append(qRgb(qRed(tint) * i / 255, qGreen(tint) * i / 255, qBlue(tint) * i / 255));
    colours.append(qRgb(250, 220, 40));
    image.setColorTable(colours);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const bool face = std::abs(x - 128) < 20 && y > 20 && y < 60;
            const bool grid = x % 32 < 2 || y % 32 < 2;
            image.setPixel(x, y, face ? 255 : grid ? 60 : 255 - y / 2);
        }
    return image;
}

// An ellipsoid of rings bottom to top; texture u runs round from the back,
// v = 0 at the top. Vertices below split are bound to bones[0], the rest to
// bones[1] (or all to bones[0] when there is one); the lowest ring above the
// split also blends with bones[0].
MeshGeometry ellipsoid(QByteArray name, QList<QByteArray> bones, QVector3D centre, QVector3D radii,
                       int rings, int segments, float split, const BoneTransforms &world)
{
    MeshGeometry mesh;
    mesh.name = name;
    mesh.texture = name + "-tex";
    mesh.bones = bones;
    QList<QMatrix4x4> toBone;
    for (const QByteArray &each : bones)
        toBone.append(world.value(boneKey(each)).inverted());
    mesh.bindings = {{0, 0, 0, -1, 0}};
    if (bones.size() > 1)
        mesh.bindings.append({1, 0, 0, 0, 0});
    for (int ring = 0; ring <= rings; ++ring) {
        const float polar = std::numbers::pi_v<float> * float(ring) / rings;
        for (int segment = 0; segment <= segments; ++segment) {
            const float round = 2 * std::numbers::pi_v<float> * segment / segments;
            const QVector3D unit(-std::sin(polar) * std::sin(round), -std::cos(polar),
                                 std::sin(polar) * std::cos(round));
            const QVector3D at = centre + unit * radii;
            const QVector3D normal = (unit / radii).normalized();
            const int binding = bones.size() > 1 && at.y() >= split ? 1 : 0;
            if (binding == 1 && mesh.bindings[1].vertexCount == 0)
                mesh.bindings[1].firstVertex = quint32(mesh.vertices.size());
            mesh.bindings[binding].vertexCount++;
            const QMatrix4x4 &space = toBone[binding];
            mesh.vertices.append({vec(space.map(at)), vec(space.mapVector(normal))});
            mesh.texCoords.append({float(segment) / segments, 1 - float(ring) / rings});
            if (binding == 1 && mesh.bindings[1].vertexCount <= quint32(segments + 1)) {
                mesh.blends.append({32768 / 3, quint32(mesh.vertices.size() - 1)});
                mesh.blendedVertices.append(
                    {vec(toBone[0].map(at)), vec(toBone[0].mapVector(normal))});
            }
        }
    }
    if (!mesh.blends.isEmpty())
        mesh.bindings[0].firstBlended = 0,
        mesh.bindings[0].blendedCount = quint32(mesh.blends.size());
    const int row = segments + 1;
    for (int ring = 0; ring < rings; ++ring)
        for (int segment = 0; segment < segments; ++segment) {
            const quint32 at = quint32(ring * row + segment);
            mesh.faces.append({at, at + 1, at + row});
            mesh.faces.append({at + 1, at + row + 1, at + row});
        }
    return mesh;
}

struct Character {
    Character()
    {
        const BoneTransforms world = boneTransforms(bones).value();
        meshes = {
            ellipsoid("body", {"PELVIS", "SPINE"}, {0, 1.1f, 0}, {0.3f, 0.8f, 0.2f}, 38, 40, kWaist,
                      world),
            ellipsoid("head", {"HEAD"}, {0, 1.78f, 0}, {0.13f, 0.16f, 0.14f}, 14, 16, 0, world),
            ellipsoid("hand-left", {"L_HAND"}, {-0.45f, 0.85f, 0}, {0.05f, 0.1f, 0.04f}, 8, 10, 0,
                      world),
            ellipsoid("hand-right", {"R_HAND"}, {0.45f, 0.85f, 0}, {0.05f, 0.1f, 0.04f}, 8, 10, 0,
                      world),
            ellipsoid("hat", {"HEAD"}, {0, 1.95f, 0}, {0.16f, 0.07f, 0.16f}, 8, 12, 0, world)};
        const QImage skin = texture(qRgb(230, 150, 110));
        textures = {texture(qRgb(110, 150, 230)), skin, skin, skin, texture(qRgb(90, 200, 120))};
    }
    Skeleton bones = skeleton();
    QList<MeshGeometry> meshes;
    QList<QImage> textures;
};

const Character &character()
{
    static const Character instance;
    return instance;
}

PreviewRenderer renderer()
{
    Result<QList<PosedMesh>> posed = poseMeshes(character().meshes, &character().bones);
    if (!posed.ok())
        qFatal("%s", qPrintable(posed.error()));
    return PreviewRenderer(std::move(posed).value(), character().textures);
}

void BM_PoseCharacter(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(poseMeshes(character().meshes, &character().bones));
}
BENCHMARK(BM_PoseCharacter)->Unit(benchmark::kMicrosecond);

constexpr int kSide = 512;
void BM_RenderFrame512(benchmark::State &state)
{
    const PreviewRenderer drawer = renderer();
    float turn = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawer.render({kSide, kSide}, {turn, 10}));
        turn += 7;
    }
    qsizetype triangles = 0;
    for (const MeshGeometry &mesh : character().meshes)
        triangles += mesh.faces.size();
    state.counters["triangles"] = double(triangles);
}
BENCHMARK(BM_RenderFrame512)->Unit(benchmark::kMillisecond);

// A mesh of about state.range(0) triangles at the Preview window's size: a
// frame that takes longer than a move of the mouse (about 16 ms) is drawn off
// the window's thread. The readers accept meshes of up to about a million.
void BM_RenderLargeMesh400(benchmark::State &state)
{
    const BoneTransforms world = boneTransforms(character().bones).value();
    const int rings = int(std::sqrt(double(state.range(0)) / 2));
    const MeshGeometry mesh =
        ellipsoid("large", {"PELVIS"}, {0, 1.1f, 0}, {0.3f, 0.8f, 0.2f}, rings, rings, 0, world);
    const PreviewRenderer drawer(poseMeshes({mesh}, &character().bones).value(),
                                 {character().textures.first()});
    float turn = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawer.render({400, 400}, {turn, 10}));
        turn += 7;
    }
    state.counters["triangles"] = double(mesh.faces.size());
}
BENCHMARK(BM_RenderLargeMesh400)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

int writePicture(const char *path)
{
    const PreviewRenderer drawer = renderer();
    QImage picture(3 * 512, 512, QImage::Format_RGB32);
    QPainter painter(&picture);
    for (int i = 0; i < 3; ++i)
        painter.drawImage(512 * i, 0, drawer.render({512, 512}, {float(i == 2 ? 180 : 60 * i), 0}));
    painter.end();
    return picture.save(QString::fromLocal8Bit(path)) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    constexpr const char kPicture[] = "--picture=";
    if (argc == 2 && std::strncmp(argv[1], kPicture, sizeof kPicture - 1) == 0)
        return writePicture(argv[1] + sizeof kPicture - 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
