#include "tests/foldercheck/seededfolder.h"

#include "tests/support/files.h"

#include <QDir>
#include <QDirIterator>
#include <QtEndian>

namespace testsupport {

namespace {

void appendU16(QByteArray &out, quint16 value)
{
    out += char(value & 0xff);
    out += char(value >> 8);
}

} // namespace

QByteArray bmpFile(int bits, int width, int height)
{
    const int palette = bits == 8 ? 256 * 4 : 0;
    const int rowBytes = (width * bits / 8 + 3) / 4 * 4;
    const int offset = 54 + palette;
    QByteArray out = "BM";
    appendU32(out, quint32(offset + rowBytes * height));
    appendU32(out, 0);
    appendU32(out, quint32(offset));
    appendU32(out, 40);
    appendU32(out, quint32(width));
    appendU32(out, quint32(height));
    appendU16(out, 1);
    appendU16(out, quint16(bits));
    appendU32(out, 0);
    appendU32(out, quint32(rowBytes * height));
    appendU32(out, 2835);
    appendU32(out, 2835);
    appendU32(out, bits == 8 ? 256 : 0);
    appendU32(out, 0);
    for (int i = 0; i < palette / 4; ++i)
        appendU32(out, quint32(i * 0x010101));
    for (int y = 0; y < height; ++y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width * bits / 8; ++x)
            row[x] = char((x * 7 + y * 3) & 0xff);
        out += row;
    }
    return out;
}

QByteArray namedCharacterFile(const QByteArray &name, const QList<QByteArray> &meshes)
{
    QByteArray text = "// Character File. Copyright 1997, Maxis Inc.\r\nversion 300\r\n0\r\n1\r\n" +
                      name + "\r\n0\r\n0\r\n" + QByteArray::number(meshes.size()) + "\r\n";
    for (qsizetype k = 0; k < meshes.size(); ++k)
        text += (k == 0 ? "PELVIS" : "HEAD") + QByteArray("\r\n") + meshes[k] + "\r\n0\r\n0\r\n";
    return text + "0\r\n";
}

SeededGame writeSeededGame(const QString &root)
{
    const QDir base(root);
    SeededGame game{base.filePath(QStringLiteral("game")),
                    base.filePath(QStringLiteral("game/GameData/Skins")),
                    base.filePath(QStringLiteral("game/ExpansionShared/SkinsBuy")),
                    base.filePath(QStringLiteral("VirtualStore"))};
    for (const QString &folder :
         {game.skins + QStringLiteral("/sub"), game.skinsBuy, game.virtualStore})
        base.mkpath(folder);
    const QByteArray bmp8 = bmpFile(8, 64, 64);
    bool written = true;
    const auto put = [&game](const QString &name, const QByteArray &bytes) {
        return writeFile(QDir(game.skins).filePath(name), bytes);
    };
    // Clean: a body with a hat, their meshes and textures.
    written &= put(QStringLiteral("B100FAFit_01.cmx"),
                   namedCharacterFile("B100FAFit_01", {"body100", "hat100"}));
    written &= put(QStringLiteral("body100.skn"), meshFile("body100", "PELVIS"));
    written &= put(QStringLiteral("hat100.skn"), meshFile("hat100", "HEAD"));
    written &= put(QStringLiteral("hat100-tex.bmp"), bmp8);
    written &= put(QStringLiteral("B100FAFitlgt_01.bmp"), bmp8);
    // Clean: a mesh and texture of the game's archive; a unisex child.
    written &=
        put(QStringLiteral("B109FAFit_01.cmx"), namedCharacterFile("B109FAFit_01", {"gamebody"}));
    written &=
        put(QStringLiteral("B110UCChd_01.cmx"), namedCharacterFile("B110UCChd_01", {"body100"}));
    written &= put(QStringLiteral("b110fcchdLGT_01.bmp"), bmp8);
    // One file per finding.
    written = written &&
              put(QStringLiteral("B101FAFit_01.cmx"), namedCharacterFile("Wrong", {"body100"}));
    written &= put(QStringLiteral("B101FAFitlgt_01.bmp"), bmp8);
    written &=
        put(QStringLiteral("B102FAFit_01.cmx"), namedCharacterFile("B102FAFit_01", {"nomesh"}));
    written &= put(QStringLiteral("B102FAFitlgt_01.bmp"), bmp8);
    written &=
        put(QStringLiteral("B103FAFit_01.cmx"), namedCharacterFile("B103FAFit_01", {"body100"}));
    written &= put(QStringLiteral("B104FAFit_01.cmx"),
                   namedCharacterFile("B104FAFit_01", {"body100", "acc104"}));
    written &= put(QStringLiteral("acc104.skn"), meshFile("acc104", "HEAD"));
    written &= put(QStringLiteral("B104FAFitlgt_01.bmp"), bmp8);
    written &= put(QStringLiteral("B100FAFitmed_01.bmp"), bmpFile(24, 64, 64));
    written &= put(QStringLiteral("B100FAFitdrk_01.bmp"), bmpFile(8, 48, 48));
    written &= put(QStringLiteral("wrongname.skn"), meshFile("rightname", "HEAD"));
    written &= put(QStringLiteral("sub/B105FAFit_01.cmx"),
                   namedCharacterFile("B105FAFit_01", {"body100"}));
    written &= put(QStringLiteral("sub/B105FAFitlgt_01.bmp"), bmp8);
    written &=
        put(QStringLiteral("B106FAFit_01.cmx"), namedCharacterFile("B106FAFit_01", {"body100"}));
    written &=
        put(QStringLiteral("B106FAFit_02.cmx"), namedCharacterFile("B106FAFit_02", {"hat100"}));
    written &= put(QStringLiteral("B106FAFitlgt_01.bmp"), bmp8);
    written &= put(QStringLiteral("B106FAFitlgt_02.bmp"), bmp8);
    written &= put(QStringLiteral("dup.skn"), meshFile("dup", "HEAD"));
    written &= put(QStringLiteral("DUP.skn"), meshFile("dup", "HEAD", 500));
    written &= put(QStringLiteral("broken.cmx"), "hello");
    const QList<ArchivedFile> archived{
        {"Skins\\gamebody.skn", meshFile("gamebody", "PELVIS")},
        {"Skins\\B001MAFit_01.cmx", namedCharacterFile("B001MAFit_01", {"gamebody"})},
        {"Skins\\B109FAFitlgt_01.bmp", bmp8}};
    written &= writeFile(QDir(game.skinsBuy).filePath(QStringLiteral("B107FAFit_01.cmx")),
                         namedCharacterFile("B107FAFit_01", {"body100"}));
    written &= writeFile(QDir(game.skinsBuy).filePath(QStringLiteral("B107FAFitlgt_01.bmp")), bmp8);
    written &= writeFile(QDir(game.virtualStore).filePath(QStringLiteral("extra.skn")),
                         meshFile("extra", "HEAD"));
    written &=
        writeFile(QDir(game.game).filePath(QStringLiteral("ExpansionShared/ExpansionShared.far")),
                  farArchive(archived));
    game.caseTwins = QDir(game.skins)
                         .entryList(QDir::Files)
                         .filter(QStringLiteral("dup.skn"), Qt::CaseInsensitive)
                         .size() == 2;
    return written ? game : SeededGame{};
}

QHash<QString, QByteArray> filesUnder(const QString &folder)
{
    QHash<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        it.next();
        files.insert(it.filePath(), readFile(it.filePath()));
    }
    return files;
}

} // namespace testsupport
