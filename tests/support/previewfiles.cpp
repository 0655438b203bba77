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

QByteArray bmpPicture(Qt::GlobalColor colour)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

} // namespace

QByteArray bmpFile(Qt::GlobalColor colour)
{
    return bmpPicture(colour);
}

QByteArray squareMeshFile(const QByteArray &name, const QByteArray &texture, const QByteArray &bone,
                          float height, float half, float across, float depth)
{
    QByteArray text = name + "\r\n" + texture + "\r\n1\r\n" + bone +
                      "\r\n2\r\n0 1 2\r\n0 2 3\r\n1\r\n0 0 4 -1 0\r\n4\r\n0 0\r\n1 0\r\n1 "
                      "1\r\n0 1\r\n0\r\n4\r\n";
    for (const auto &[x, y] : {std::pair{-1, 1}, {1, 1}, {1, -1}, {-1, -1}})
        text += line({across + x * half, height + y * half, depth, 0, 0, 1});
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

bool writeDressedCharacter(const QString &folder, bool withSkeleton)
{
    const QList<std::pair<QString, QByteArray>> files{
        {"B001MA_body.cmx", characterFile({{"PELVIS", "body"}, {"HEAD", "face"}})},
        {"body.skn", squareMeshFile("body", "x", "PELVIS", 0, 1)},
        {"face.skn", squareMeshFile("face", "x", "HEAD", 0, 0.4f)},
        {"hat.skn", squareMeshFile("hat", "hat", "HEAD", 0.6f, 0.3f)},
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
