#include "tests/support/files.h"

#include <QFile>

#include <stdexcept>

namespace testsupport {

QByteArray characterFileWithCount(const QByteArray &countLine, const QList<Skin> &skins)
{
    const QByteArray crlf = "\r\n";
    QByteArray text = "// Character File. Copyright 1997, Maxis Inc.\r\nversion 300\r\n0\r\n1\r\n"
                      "B001FAFit_01\r\n0\r\n0\r\n" +
                      countLine + crlf;
    for (const Skin &skin : skins)
        text += skin.bone + crlf + skin.mesh + crlf + "1" + crlf + "2" + crlf;
    return text + "0\r\nanimations follow\r\n";
}

QByteArray characterFile(const QList<Skin> &skins, const QByteArray &lineEnd)
{
    QByteArray text = characterFileWithCount(QByteArray::number(skins.size()), skins);
    if (lineEnd != "\r\n")
        text.replace("\r\n", lineEnd);
    return text;
}

QByteArray meshFile(const QByteArray &name, const QByteArray &bone, qsizetype minimumSize)
{
    QByteArray text = name + "\r\n" + name + "-tex\r\n1\r\n" + bone + "\r\n";
    for (int i = 0; text.size() < minimumSize; ++i)
        text += "0.125 0.25 " + QByteArray::number(i) + "\r\n";
    return text;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

} // namespace testsupport
