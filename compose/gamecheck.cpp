#include "compose/gamecheck.h"

#include "compose/archivepath.h"
#include "compose/filekind.h"
#include "compose/messagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace kelvane {

namespace {

const QString kSkinsHint = QStringLiteral("the game looks for it");

// The file of that name in folder, found as the game finds it.
QString fileNamedIn(const QString &folder, const QString &name)
{
    return entryNamedIn(folder, name, QDir::Files);
}

QString shownFolder(const QString &folder)
{
    return shownName(QDir::toNativeSeparators(QDir(folder).absolutePath()));
}

// Why the game cannot draw the BMP at path, from its header; nothing when it
// is an 8-bit indexed (256-colour) one.
std::optional<QString> textureFault(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read (%1)").arg(file.errorString());
    const QByteArray header = file.read(54);
    if (header.size() < 30 || !header.startsWith("BM"))
        return QStringLiteral("is not a BMP picture");
    const quint16 bits = qFromLittleEndian<quint16>(header.constData() + 28);
    if (bits != 8)
        return QStringLiteral("has %1 bits per pixel, not 8 (256 colours)").arg(bits);
    return std::nullopt;
}

bool hasBlanksAround(const QByteArray &name)
{
    return !name.isEmpty() && (name.front() == ' ' || name.front() == '\t' || name.back() == ' ' ||
                               name.back() == '\t');
}

bool sameContent(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != second.size())
        return false;
    constexpr qint64 kPiece = 64 * 1024;
    while (!first.atEnd()) {
        if (first.read(kPiece) != second.read(kPiece))
            return false;
    }
    return true;
}

} // namespace

GameCheck checkWhatTheGameNeeds(const QString &meshPath, const Mesh &mesh,
                                const QString &outputFolder, Copies copies)
{
    const bool copying = copies == Copies::Made;
    GameCheck check;
    const QString meshName = QString::fromLatin1(mesh.name);
    const QString quotedMesh = quotedBytes(mesh.name);

    if (mesh.boneCount != 1)
        check.findings.append(
            QStringLiteral("The mesh %1 is bound to %2 bones: it is a body rather than an "
                           "accessory. It is attached by its first bone, %3, only, so the game "
                           "may show it torn or crash.")
                .arg(quotedMesh, QString::number(mesh.boneCount),
                     quotedBytes(mesh.bones.value(0))));
    if (hasBlanksAround(mesh.name) || hasBlanksAround(mesh.bones.value(0)))
        check.findings.append(
            QStringLiteral("The mesh name %1 or its bone %2 has blanks at its start or end. They "
                           "are copied as they are, and the game will not find a mesh or bone "
                           "of that name.")
                .arg(quotedMesh, quotedBytes(mesh.bones.value(0))));

    // The game's own archives hold their meshes and textures.
    if (archivePathOf(meshPath))
        return check;

    const QFileInfo meshFile(meshPath);
    const QString extension =
        mesh.format == MeshFormat::Binary ? QStringLiteral(".bmf") : QStringLiteral(".skn");
    const QString wanted = meshName + extension;
    const QString fileStem = meshFile.fileName().section(QLatin1Char('.'), 0, -2);
    const bool meshInPlace =
        !fileNamedIn(outputFolder, meshName + QStringLiteral(".skn")).isEmpty() ||
        !fileNamedIn(outputFolder, meshName + QStringLiteral(".bmf")).isEmpty();
    // A copy takes the name the game looks for.
    if (fileStem.compare(meshName, Qt::CaseInsensitive) != 0 && (meshInPlace || !copying))
        check.findings.append(
            QStringLiteral("The mesh file is named %1, but the mesh inside it is named %2. The "
                           "new character file names the mesh, so the game looks for %3.")
                .arg(shownName(meshFile.fileName()), quotedMesh, shownName(wanted)));
    if (!meshInPlace) {
        if (!copying)
            check.findings.append(
                QStringLiteral("The mesh %1 is not in %2, where %3: without it the game crashes "
                               "or shows the character without a head.")
                    .arg(shownName(wanted), shownFolder(outputFolder), kSkinsHint));
        check.copies.append({meshFile.filePath(), QDir(outputFolder).filePath(wanted)});
    }

    const QString texture = QString::fromLatin1(mesh.texture);
    if (texture.isEmpty() || texture.compare(QLatin1StringView("x"), Qt::CaseInsensitive) == 0)
        return check;
    const QString textureName = texture + QStringLiteral(".bmp");
    QString textureFound = fileNamedIn(outputFolder, textureName);
    if (textureFound.isEmpty()) {
        const QString beside = fileNamedIn(meshFile.absolutePath(), textureName);
        if (beside.isEmpty() || !copying)
            check.findings.append(
                QStringLiteral("The texture %1 is not in %2, where %3: without it the game "
                               "shows the accessory grey or white.")
                    .arg(shownName(textureName), shownFolder(outputFolder), kSkinsHint));
        if (beside.isEmpty())
            return check;
        check.copies.append({beside, QDir(outputFolder).filePath(textureName)});
        textureFound = beside;
    }
    if (const std::optional<QString> fault = textureFault(textureFound))
        check.findings.append(QStringLiteral("The texture %1 %2: the game shows the accessory grey "
                                             "or white. Save it as a 256-colour BMP.")
                                  .arg(shownName(QFileInfo(textureFound).fileName()), *fault));
    return check;
}

GameCopies copyForTheGame(const QList<GameFileCopy> &copies)
{
    GameCopies done;
    for (const GameFileCopy &copy : copies) {
        const QFileInfo target(copy.to);
        const QString existing = fileNamedIn(target.absolutePath(), target.fileName());
        if (!existing.isEmpty()) {
            if (!sameContent(copy.from, existing))
                done.problems.append(
                    QStringLiteral("%1 already exists with other content, so it was left as it "
                                   "is; check that it is the file the game needs.")
                        .arg(shownName(QDir::toNativeSeparators(existing))));
            continue;
        }
        // Copied under a temporary name and renamed, so that no half copy is left.
        if (!QFile::copy(copy.from, copy.to)) {
            done.problems.append(QStringLiteral("%1 could not be copied into %2.")
                                     .arg(shownName(QDir::toNativeSeparators(copy.from)),
                                          shownFolder(target.absolutePath())));
            continue;
        }
        done.copied.append(copy.to);
    }
    return done;
}

} // namespace kelvane
