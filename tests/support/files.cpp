#include "tests/support/files.h"

#include <QDateTime>
#include <QFile>
#include <QtEndian>

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

void appendU32(QByteArray &out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += char((value >> shift) & 0xff);
}

void appendString(QByteArray &out, const QByteArray &text)
{
    out += char(quint8(text.size()));
    out += text;
}

QByteArray binaryCharacterFile(const BinaryCharacter &character)
{
    QByteArray out;
    appendU32(out, character.skeletons);
    appendU32(out, character.suits);
    for (quint32 suit = 0; suit < character.suits; ++suit) {
        appendString(out, character.name);
        appendU32(out, character.type);
        appendU32(out, character.second);
        appendU32(out, quint32(character.skins.size()));
        for (const BinarySkin &skin : character.skins) {
            appendString(out, skin.bone);
            appendString(out, skin.mesh);
            appendU32(out, skin.censorFlags);
            appendU32(out, skin.second);
        }
    }
    appendU32(out, character.skills);
    return out;
}

QByteArray binaryMeshFile(const QByteArray &name, const QByteArray &texture,
                          const QList<QByteArray> &bones, qsizetype geometryBytes)
{
    QByteArray out;
    appendString(out, name);
    appendString(out, texture);
    appendU32(out, quint32(bones.size()));
    for (const QByteArray &bone : bones)
        appendString(out, bone);
    for (qsizetype i = 0; i < geometryBytes; ++i)
        out += char(i * 7);
    return out;
}

QByteArray farArchive(const QList<ArchivedFile> &files)
{
    return farArchive(files, 1, 4);
}

QByteArray farArchive(const QList<ArchivedFile> &files, quint32 version, int nameLengthBytes)
{
    QByteArray body;
    QByteArray manifest;
    appendU32(manifest, quint32(files.size()));
    for (const ArchivedFile &file : files) {
        appendU32(manifest, quint32(file.bytes.size()));
        appendU32(manifest, quint32(file.bytes.size()));
        appendU32(manifest, quint32(16 + body.size()));
        QByteArray nameLength;
        appendU32(nameLength, quint32(file.name.size()));
        manifest += nameLength.first(nameLengthBytes) + file.name;
        body += file.bytes;
    }
    QByteArray out = "FAR!byAZ";
    appendU32(out, version);
    appendU32(out, quint32(16 + body.size()));
    return out + body + manifest;
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

bool touchFile(const QString &path, int secondsAhead)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(secondsAhead),
                            QFileDevice::FileModificationTime);
}

const BinaryCharacter kBody{
    "B001FAFit_01",
    2,
    7,
    {{"PELVIS", "xskin-PELVIS-BODY", 1, 3}, {"HEAD", "xskin-HEAD", 0x80000000u, 0xffffffffu}}};

std::string shown(const BinaryCharacter &c)
{
    QByteArray text = c.name + QByteArray::number(c.type) + '/' + QByteArray::number(c.second) +
                      " counts " + QByteArray::number(c.skeletons) + '/' +
                      QByteArray::number(c.suits) + '/' + QByteArray::number(c.skills);
    for (const BinarySkin &skin : c.skins)
        text += "\n" + skin.bone + '|' + skin.mesh + '|' + QByteArray::number(skin.censorFlags) +
                '|' + QByteArray::number(skin.second);
    return text.toStdString();
}

QByteArray bmpHeader(quint16 bits, qint32 width, qint32 height, char fill)
{
    QByteArray bmp = "BM" + QByteArray(52, fill);
    qToLittleEndian<quint32>(40, bmp.data() + 14);
    qToLittleEndian(width, bmp.data() + 18);
    qToLittleEndian(height, bmp.data() + 22);
    qToLittleEndian(bits, bmp.data() + 28);
    return bmp;
}

} // namespace testsupport
