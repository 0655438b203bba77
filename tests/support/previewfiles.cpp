#include "tests/support/previewfiles.h"

#include "tests/support/files.h"

#include <QBuffer>
#include <QImage>

using namespace kelvane;

namespace testsupport {

namespace {

QByteArray numbers(std::initializer_list<float> values)
{
    QList<QByteArray> words;
    for (const float value : values)
        words.append(QByteArray::number(value, 'g', 9));
    return words.join(' ');
}

} // namespace

MeshGeometry boxMesh(const QByteArray &name, const QByteArray &texture, const QByteArray &bone,
                     Vec3 centre, float half)
{
    MeshGeometry mesh;
    mesh.name = name;
    mesh.texture = texture;
    mesh.bones = {bone};
    for (int corner = 0; corner < 8; ++corner) {
        const Vec3 side{corner & 1 ? 1.0f : -1.0f, corner & 2 ? 1.0f : -1.0f,
                        corner & 4 ? 1.0f : -1.0f};
        mesh.vertices.append(
            {{centre.x + side.x * half, centre.y + side.y * half, centre.z + side.z * half}, side});
        mesh.texCoords.append({corner & 1 ? 1.0f : 0.0f, corner & 2 ? 1.0f : 0.0f});
    }
    // Two triangles per face of the box, corners numbered by their bits x, y, z.
    for (const auto &[a, b, c, d] :
         {std::array{0, 1, 3, 2}, std::array{4, 6, 7, 5}, std::array{0, 4, 5, 1},
          std::array{2, 3, 7, 6}, std::array{0, 2, 6, 4}, std::array{1, 5, 7, 3}}) {
        mesh.faces.append({quint32(a), quint32(b), quint32(c)});
        mesh.faces.append({quint32(a), quint32(c), quint32(d)});
    }
    mesh.bindings = {{0, 0, 8, -1, 0}};
    return mesh;
}

QByteArray textMeshFile(const MeshGeometry &mesh)
{
    QByteArray out = mesh.name + "\r\n" + mesh.texture + "\r\n";
    out += QByteArray::number(mesh.bones.size()) + "\r\n";
    for (const QByteArray &bone : mesh.bones)
        out += bone + "\r\n";
    out += QByteArray::number(mesh.faces.size()) + "\r\n";
    for (const auto &face : mesh.faces)
        out += numbers({float(face[0]), float(face[1]), float(face[2])}) + "\r\n";
    out += QByteArray::number(mesh.bindings.size()) + "\r\n";
    for (const BoneBinding &b : mesh.bindings)
        out += QByteArray::number(b.bone) + ' ' + QByteArray::number(b.firstVertex) + ' ' +
               QByteArray::number(b.vertexCount) + " -1 0\r\n";
    out += QByteArray::number(mesh.texCoords.size()) + "\r\n";
    for (const TexCoord &uv : mesh.texCoords)
        out += numbers({uv.u, uv.v}) + "\r\n";
    out += "0\r\n" + QByteArray::number(mesh.vertices.size()) + "\r\n";
    for (const MeshVertex &v : mesh.vertices)
        out += numbers(
                   {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z}) +
               "\r\n";
    return out;
}

QByteArray textSkeletonFile(const Skeleton &skeleton)
{
    QByteArray out = "// Character File. Copyright 1997, Maxis Inc.\r\nversion 300\r\n1\r\n";
    out += skeleton.name + "\r\n" + QByteArray::number(skeleton.bones.size()) + "\r\n";
    for (const SkeletonBone &bone : skeleton.bones) {
        const Vec3 &p = bone.position;
        const Quat &r = bone.rotation;
        out += bone.name + "\r\n" + bone.parent + "\r\n0\r\n";
        out += "| " + numbers({p.x, p.y, p.z}) + " |\r\n| " + numbers({r.x, r.y, r.z, r.w}) +
               " |\r\n1\r\n1\r\n0\r\n0\r\n0\r\n";
    }
    return out + "0\r\n0\r\n";
}

Skeleton standingSkeleton(float headHeight)
{
    Skeleton skeleton{"adult", {}};
    skeleton.bones.append({"ROOT", "NULL", {}, {}, {}, 1, 1, 0, 0, 0});
    skeleton.bones.append({"PELVIS", "ROOT", {}, {}, {}, 1, 1, 0, 0, 0});
    skeleton.bones.append({"HEAD", "PELVIS", {}, {0, headHeight, 0}, {}, 1, 1, 0, 0, 0});
    return skeleton;
}

QByteArray bmpPicture(const QColor &colour)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

bool writeDressedCharacter(const QString &folder, bool withSkeleton)
{
    const QString at = folder + QLatin1Char('/');
    bool ok = writeFile(at + QStringLiteral("B001MA_body.cmx"),
                        characterFile({{"PELVIS", "body"}, {"HEAD", "face"}}));
    ok = ok && writeFile(at + QStringLiteral("body.skn"),
                         textMeshFile(boxMesh("body", "x", "PELVIS", {0, 0, 0}, 1)));
    ok = ok && writeFile(at + QStringLiteral("face.skn"),
                         textMeshFile(boxMesh("face", "x", "HEAD", {0, 0, 0}, 0.4f)));
    ok = ok && writeFile(at + QStringLiteral("hat.skn"),
                         textMeshFile(boxMesh("hat", "hat", "HEAD", {0, 0.6f, 0}, 0.3f)));
    for (const char *tone : {"lgt", "drk"})
        ok = ok && writeFile(at + QStringLiteral("B001MA%1_body.bmp").arg(QLatin1StringView(tone)),
                             bmpPicture(Qt::blue));
    ok = ok && writeFile(at + QStringLiteral("hat.bmp"), bmpPicture(Qt::red));
    if (withSkeleton)
        ok = ok && writeFile(at + QStringLiteral("adult-skeleton.cmx"),
                             textSkeletonFile(standingSkeleton(3)));
    return ok;
}

} // namespace testsupport
