#include "formats/meshgeometry.h"
#include "formats/skeletonfile.h"
#include "inputs/geometryfiles.h"
#include "tests/support/files.h"
#include "tests/support/results.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>

using namespace kelvane;
namespace ts = testsupport;
using ts::errorOf;

namespace {

// How a test file is laid out: binary, or text with these line ends and
// blanks between values.
struct Layout {
    const char *title;
    bool text;
    QByteArray lineEnd = "\r\n";
    QByteArray blank = " ";
};

void PrintTo(const Layout &layout, std::ostream *out)
{
    *out << layout.title;
}

const Layout kLayouts[] = {
    {"binary", false}, {"text", true}, {"textLfWithTabs", true, "\n", " \t "}};

// Writes names, counts and records of numbers in either layout.
struct Writer {
    const Layout &layout;
    QByteArray out;

    void line(const QByteArray &text) { out += text + layout.lineEnd; }
    void name(const QByteArray &text) { layout.text ? line(text) : ts::appendString(out, text); }
    void count(qsizetype value) { ints({value}); }
    void ints(std::initializer_list<qint64> values)
    {
        QList<QByteArray> words;
        for (const qint64 value : values) {
            words.append(QByteArray::number(value));
            if (!layout.text)
                ts::appendU32(out, quint32(value));
        }
        if (layout.text)
            line(words.join(layout.blank));
    }
    void floats(std::initializer_list<float> values, bool barred = false)
    {
        QList<QByteArray> words;
        for (const float value : values) {
            words.append(QByteArray::number(value, 'g', 9));
            if (!layout.text)
                ts::appendU32(out, std::bit_cast<quint32>(value));
        }
        if (layout.text)
            line(barred ? "| " + words.join(layout.blank) + " |" : words.join(layout.blank));
    }
};

QByteArray meshFile(const MeshGeometry &mesh, const Layout &layout)
{
    Writer w{layout, {}};
    w.name(mesh.name);
    w.name(mesh.texture);
    w.count(mesh.bones.size());
    for (const QByteArray &bone : mesh.bones)
        w.name(bone);
    w.count(mesh.faces.size());
    for (const auto &face : mesh.faces)
        w.ints({face[0], face[1], face[2]});
    w.count(mesh.bindings.size());
    for (const BoneBinding &b : mesh.bindings)
        w.ints({b.bone, b.firstVertex, b.vertexCount, b.firstBlended, b.blendedCount});
    w.count(mesh.texCoords.size());
    for (const TexCoord &uv : mesh.texCoords)
        w.floats({uv.u, uv.v});
    w.count(mesh.blends.size());
    for (const Blend &blend : mesh.blends) {
        layout.text ? w.ints({blend.vertex, blend.weight}) : w.ints({blend.weight, blend.vertex});
    }
    w.count(mesh.vertices.size() + mesh.blendedVertices.size());
    for (const MeshVertex &v : mesh.vertices + mesh.blendedVertices)
        w.floats({v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z});
    return w.out;
}

MeshGeometry glasses(MeshFormat format)
{
    MeshGeometry mesh;
    mesh.format = format;
    mesh.name = "glasses";
    mesh.texture = "glasses-tex";
    mesh.bones = {"HEAD", "NECK"};
    mesh.faces = {{0, 1, 2}, {2, 3, 0}};
    mesh.bindings = {{0, 0, 3, -1, 0}, {1, 3, 1, 0, 1}};
    mesh.texCoords = {{0.125f, 0.5f}, {1, 0}, {0.3f, -2.5e-7f}, {0, 1}};
    mesh.blends = {{16384, 2}};
    for (int k = 0; k < 4; ++k)
        mesh.vertices.append(MeshVertex{{k * 0.1f, -k * 1.7f, 3}, {0, 1.0f / (k + 1), 0}});
    mesh.blendedVertices = {{{0.5f, 1e-3f, -4}, {1, 0, 0}}};
    return mesh;
}

MeshFormat formatOf(const Layout &layout)
{
    return layout.text ? MeshFormat::Text : MeshFormat::Binary;
}

class MeshGeometryRead : public ::testing::TestWithParam<Layout>
{
};

// Written back as the test writes it, a mesh read gives the very bytes read.
TEST_P(MeshGeometryRead, KeepsEveryField)
{
    const QByteArray bytes = meshFile(glasses(formatOf(GetParam())), GetParam());
    const QByteArray blankLines = GetParam().text ? GetParam().lineEnd + " \t" : QByteArray();
    const Result<MeshGeometry> read = meshGeometryOf(bytes + blankLines);
    ASSERT_TRUE(read.ok()) << errorOf(read);
    EXPECT_EQ(read.value().format, formatOf(GetParam()));
    EXPECT_EQ(meshFile(read.value(), GetParam()).toStdString(), bytes.toStdString());
}

TEST_P(MeshGeometryRead, RefusesDamageNamingIt)
{
    const struct {
        const char *saying;
        std::function<void(MeshGeometry &)> damage;
        bool cutInVertices = false;
    } rows[] = {
        {"face 2 of 2 names vertex 4", [](MeshGeometry &m) { m.faces[1][2] = 4; }},
        {"bone binding 2 of 2 moves vertices 3 to 4",
         [](MeshGeometry &m) { m.bindings[1].vertexCount = 2; }},
        {"bone binding 1 of 2 names bone 2", [](MeshGeometry &m) { m.bindings[0].bone = 2; }},
        {"bone binding 2 of 2 gives -1 as its first blended vertex, yet moves 1",
         [](MeshGeometry &m) { m.bindings[1].firstBlended = -1; }},
        {"blend 1 of 1 pulls on vertex 7", [](MeshGeometry &m) { m.blends[0].vertex = 7; }},
        {"vertex 2 of 4", [](MeshGeometry &m) { m.vertices[1].position.y = std::nanf(""); }},
        {"finite", [](MeshGeometry &m) { m.texCoords[0].v = INFINITY; }},
        {"too few for them", [](MeshGeometry &) {}, true},
        {"it gives 70000 bones, more than any skeleton holds",
         [](MeshGeometry &m) { m.bones = QList<QByteArray>(70000, "B"); }},
        {"4 texture coordinates and 0 blends",
         [](MeshGeometry &m) { m.blends.clear(), m.bindings.removeLast(); }},
    };
    for (const auto &row : rows) {
        MeshGeometry mesh = glasses(formatOf(GetParam()));
        row.damage(mesh);
        QByteArray bytes = meshFile(mesh, GetParam());
        if (row.cutInVertices) {
            Writer first{GetParam(), {}};
            const MeshVertex &v = mesh.vertices[0];
            first.floats(
                {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z});
            bytes.truncate(bytes.indexOf(first.out) + 8);
        }
        EXPECT_NE(errorOf(meshGeometryOf(bytes)).find(row.saying), std::string::npos)
            << row.saying << "\n  got: " << errorOf(meshGeometryOf(bytes));
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, MeshGeometryRead, ::testing::ValuesIn(kLayouts),
                         [](const auto &info) { return info.param.title; });

QByteArray skeletonFile(const QList<Skeleton> &skeletons, const Layout &layout)
{
    Writer w{layout, {}};
    if (layout.text)
        w.out = "// Character File. Copyright 1997, Maxis Inc." + layout.lineEnd + "version 300" +
                layout.lineEnd;
    w.count(skeletons.size());
    for (const Skeleton &skeleton : skeletons) {
        w.name(skeleton.name);
        w.count(skeleton.bones.size());
        for (const SkeletonBone &bone : skeleton.bones) {
            w.name(bone.name);
            w.name(bone.parent);
            w.count(bone.properties.size());
            for (const PropertyList &list : bone.properties) {
                w.count(list.size());
                for (const Property &property : list)
                    w.name(property.name), w.name(property.value);
            }
            const Vec3 &p = bone.position;
            const Quat &r = bone.rotation;
            w.floats({p.x, p.y, p.z}, true);
            w.floats({r.x, r.y, r.z, r.w}, true);
            w.ints({bone.canTranslate}), w.ints({bone.canRotate}), w.ints({bone.canBlend});
            w.floats({bone.wiggleValue}), w.floats({bone.wigglePower});
        }
    }
    w.count(0), w.count(0); // no suit, no skill
    return w.out;
}

const Skeleton kAdult{"adult",
                      {{"ROOT", "NULL", {}, {0, 3.2f, -0.5f}, {0, 0, 0, 1}, 1, 1, 0, 0, 0},
                       {"PELVIS",
                        "ROOT",
                        {{{"mass", "12"}, {"anim", "walk"}}, {}},
                        {0.1f, 0, 2},
                        {0.5f, -0.5f, 0.5f, 0.5f},
                        0,
                        1,
                        1,
                        0.25f,
                        2}}};

class SkeletonRead : public ::testing::TestWithParam<Layout>
{
};

TEST_P(SkeletonRead, KeepsEveryField)
{
    const QList<Skeleton> skeletons{kAdult, Skeleton{"child", {kAdult.bones[0]}}};
    const QByteArray bytes = skeletonFile(skeletons, GetParam());
    EXPECT_TRUE(looksLikeSkeletonFile(bytes.left(64)));
    const Result<QList<Skeleton>> read = skeletonsOf(bytes);
    ASSERT_TRUE(read.ok()) << errorOf(read);
    EXPECT_EQ(skeletonFile(read.value(), GetParam()).toStdString(), bytes.toStdString());
}

TEST_P(SkeletonRead, RefusesBrokenTreesAndNumbers)
{
    const struct {
        const char *saying;
        std::function<void(Skeleton &)> damage;
    } rows[] = {
        {"the parent of bone \"PELVIS\" is \"HIP\", which is no bone",
         [](Skeleton &s) { s.bones[1].parent = "HIP"; }},
        {"bone \"ROOT\" is its own ancestor", [](Skeleton &s) { s.bones[0].parent = "PELVIS"; }},
        {"two bones named \"ROOT\"", [](Skeleton &s) { s.bones[1].name = "ROOT"; }},
        {"the rotation of bone 2 of 2", [](Skeleton &s) { s.bones[1].rotation.w = std::nanf(""); }},
        {"holds no skeleton", [](Skeleton &s) { s.bones.clear(); }},
    };
    for (const auto &row : rows) {
        Skeleton skeleton = kAdult;
        row.damage(skeleton);
        const QByteArray bytes = skeletonFile(
            skeleton.bones.isEmpty() ? QList<Skeleton>{} : QList{skeleton}, GetParam());
        EXPECT_NE(errorOf(skeletonsOf(bytes)).find(row.saying), std::string::npos)
            << row.saying << "\n  got: " << errorOf(skeletonsOf(bytes));
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SkeletonRead, ::testing::ValuesIn(kLayouts),
                         [](const auto &info) { return info.param.title; });

TEST(GeometryFiles, ReadLooseAndArchivedNamingTheFileInFaults)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray mesh = meshFile(glasses(MeshFormat::Binary), kLayouts[0]);
    const QByteArray skeleton = skeletonFile({kAdult}, kLayouts[1]);
    ASSERT_TRUE(ts::writeFile(dir.filePath("glasses.bmf"), mesh));
    ASSERT_TRUE(ts::writeFile(dir.filePath("cut.bmf"), mesh.left(60)));
    ASSERT_TRUE(ts::writeFile(dir.filePath("a.far"),
                              ts::farArchive({{"Skins\\adult.cmx", skeleton}, {"x.bmf", "x"}})));
    const auto input = [&dir](const char *name) {
        return findInputFile(dir.filePath(QLatin1String(name))).value();
    };
    EXPECT_EQ(meshFile(readMeshGeometry(input("glasses.bmf")).value(), kLayouts[0]), mesh);
    EXPECT_EQ(skeletonFile(readSkeletons(input("a.far/Skins/adult.cmx")).value(), kLayouts[1]),
              skeleton);
    EXPECT_EQ(errorOf(readMeshGeometry(input("cut.bmf"))).rfind("cut.bmf: it gives 2 faces", 0), 0u)
        << errorOf(readMeshGeometry(input("cut.bmf")));
    EXPECT_EQ(errorOf(readSkeletons(input("a.far/x.bmf"))).rfind("a.far/x.bmf: ", 0), 0u)
        << errorOf(readSkeletons(input("a.far/x.bmf")));
}

} // namespace
