#include "tests/support/previewfiles.h"

#include "tests/support/files.h"

#include <QBuffer>
#include <QImage>

namespace testsupport {

namespace {

QByteArray line(std::initializer_list<float> values)
{
    QList<QByteArray> words;
    for (const float value : values)
        words.append(QByteArray::number(value));
    return words.join(' ') + "\r\n";
}

} // namespace

QByteArray boxMeshFile(const QByteArray &name, const QByteArray &texture, const QByteArray &bone,
                       float height, float half)
{
    QByteArray text = name + "\r\n" + texture + "\r\n1\r\n" + bone + "\r\n12\r\n";
    // Two triangles per side, corners numbered by their bits x, y, z.
    for (const auto &[a, b, c, d] : {std::array{0, 1, 3, 2},
                                     {4, 6, 7, 5},
                                     {0, 4, 5, 1},
                                     {2, 3, 7, 6},
                                     {0, 2, 6, 4},
                                     {1, 5, 7, 3}})
        text += line({float(a), float(b), float(c)}) + line({float(a), float(c), float(d)});
    text += "1\r\n0 0 8 -1 0\r\n8\r\n";
    for (int k = 0; k < 8; ++k)
        text += line({float(k & 1), float(k >> 1 & 1)});
    text += "0\r\n8\r\n";
    for (int k = 0; k < 8; ++k) {
        const float x = k & 1 ? 1 : -1, y = k & 2 ? 1 : -1, z = k & 4 ? 1 : -1;
        text += line({x * half, height + y * half, z * half, x, y, z});
    }
    return text;
}

QByteArray skeletonFile(float headHeight)
{
    QByteArray text =
        "// Character File. Copyright 1997, Maxis Inc.\r\nversion 300\r\n1\r\nadult\r\n3\r\n";
    for (const auto &[bone, parent, height] : {std::tuple{"ROOT", "NULL", 0.0f},
                                               {"PELVIS", "ROOT", 0.0f},
                                               {"HEAD", "PELVIS", headHeight}})
        text += QByteArray(bone) + "\r\n" + parent + "\r\n0\r\n| 0 " + QByteArray::number(height) +
                " 0 |\r\n| 0 0 0 1 |\r\n1\r\n1\r\n0\r\n0\r\n0\r\n";
    return text + "0\r\n0\r\n";
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
    const QList<std::pair<QString, QByteArray>> files{
        {"B001MA_body.cmx", characterFile({{"PELVIS", "body"}, {"HEAD", "face"}})},
        {"body.skn", boxMeshFile("body", "x", "PELVIS", 0, 1)},
        {"face.skn", boxMeshFile("face", "x", "HEAD", 0, 0.4f)},
        {"hat.skn", boxMeshFile("hat", "hat", "HEAD", 0.6f, 0.3f)},
        {"B001MAlgt_body.bmp", bmpPicture(Qt::blue)},
        {"B001MAdrk_body.bmp", bmpPicture(Qt::blue)},
        {"hat.bmp", bmpPicture(Qt::red)},
        {"adult-skeleton.cmx", withSkeleton ? skeletonFile(3) : QByteArray()}};
    for (const auto &[name, bytes] : files) {
        if (!bytes.isEmpty() && !writeFile(folder + '/' + name, bytes))
            return false;
    }
    return true;
}

} // namespace testsupport
