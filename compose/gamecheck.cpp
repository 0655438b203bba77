#include "compose/gamecheck.h"

#include "compose/archivepath.h"
#include "compose/fileformats.h"
#include "compose/filekind.h"
#include "compose/inputfiles.h"
#include "compose/messagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>

namespace kelvane {

namespace {

const QString kSkinsHint = QStringLiteral("the game looks for it");

// The regular file of that name in folder, found as the game finds it; a
// pipe or device of that name is never taken, so that nothing opened blocks.
QString regularFileNamedIn(const QString &folder, const QString &name)
{
    const QString found = entryNamedIn(folder, name);
    return fileKindOf(found) == FileKind::Regular ? found : QString();
}

// A name the game looks up in its folder: no path, no drive, no "..", no
// control character. Anything else would lead a copy or a read elsewhere.
bool isPlainFileName(QByteArrayView name)
{
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = quint8(c);
        return byte < 0x20 || byte == 0x7f || c == '/' || c == '\\' || c == ':';
    });
}

QString notPlain(const QString &what, const QByteArray &name)
{
    return QStringLiteral("The %1 name %2 is not a plain file name: the game cannot find it "
                          "either, and nothing is copied or looked for under it.")
        .arg(what, quotedBytes(name));
}

QString notRegular(const QString &path, const QString &what)
{
    return QStringLiteral("%1 is not a regular file, so the game cannot read the %2 from it; "
                          "remove or rename it.")
        .arg(shownName(QDir::toNativeSeparators(path)), what);
}

// The mesh file of the name the game looks for in folder: found when it holds
// that mesh; a fault when the file of that name cannot be the one.
struct MeshInFolder {
    bool found = false;
    std::optional<QString> fault;
};

MeshInFolder meshIn(const QString &folder, const QByteArray &meshName)
{
    const QString name = QString::fromLatin1(meshName);
    for (const FileFormat *format : formatsOf(FileRole::Mesh)) {
        const QString path = entryNamedIn(folder, name + format->extension);
        if (path.isEmpty())
            continue;
        if (fileKindOf(path) != FileKind::Regular)
            return {false, notRegular(path, QStringLiteral("mesh"))};
        const Result<Mesh> held = readMeshFile(path);
        if (held.ok() &&
            QString::fromLatin1(held.value().name).compare(name, Qt::CaseInsensitive) == 0)
            return {true, std::nullopt};
        return {false,
                QStringLiteral("%1 is in the way: the game loads it for the mesh %2, but %3. "
                               "Nothing is copied over it; remove or rename it.")
                    .arg(shownName(QDir::toNativeSeparators(path)), quotedBytes(meshName),
                         held.ok() ? QStringLiteral("it holds the mesh %1")
                                         .arg(quotedBytes(held.value().name))
                                   : QStringLiteral("it is no mesh file"))};
    }
    return {};
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

QStringList GameCheck::findings(Copies made) const
{
    QStringList texts;
    for (const GameFinding &finding : found) {
        if (made == Copies::Offered || !finding.mendedByCopies)
            texts.append(finding.text);
    }
    return texts;
}

GameCheck checkWhatTheGameNeeds(const QString &meshPath, const Mesh &mesh,
                                const QString &outputFolder)
{
    GameCheck check;
    const auto find = [&check](const QString &text, bool mended = false) {
        check.found.append({text, mended});
    };
    const QString meshName = QString::fromLatin1(mesh.name);
    const QString quotedMesh = quotedBytes(mesh.name);

    if (mesh.boneCount != 1)
        find(QStringLiteral("The mesh %1 is bound to %2 bones: it is a body rather than an "
                            "accessory. It is attached by its first bone, %3, only, so the game "
                            "may show it torn or crash.")
                 .arg(quotedMesh, QString::number(mesh.boneCount),
                      quotedBytes(mesh.bones.value(0))));
    if (hasBlanksAround(mesh.name) || hasBlanksAround(mesh.bones.value(0)))
        find(QStringLiteral("The mesh name %1 or its bone %2 has blanks at its start or end. They "
                            "are copied as they are, and the game will not find a mesh or bone "
                            "of that name.")
                 .arg(quotedMesh, quotedBytes(mesh.bones.value(0))));
    const bool plainMesh = isPlainFileName(mesh.name);
    if (!plainMesh)
        find(notPlain(QStringLiteral("mesh"), mesh.name));
    const QString texture = QString::fromLatin1(mesh.texture);
    const bool noTexture =
        texture.isEmpty() || texture.compare(QLatin1StringView("x"), Qt::CaseInsensitive) == 0;
    const bool plainTexture = noTexture || isPlainFileName(mesh.texture);
    if (!plainTexture)
        find(notPlain(QStringLiteral("texture"), mesh.texture));

    // The game's own archives hold their meshes and textures.
    if (archivePathOf(meshPath))
        return check;

    const QFileInfo meshFile(meshPath);
    if (plainMesh) {
        const QString wanted = meshName + formatFor(mesh.format).extension;
        const MeshInFolder present = meshIn(outputFolder, mesh.name);
        if (present.fault)
            find(*present.fault);
        const bool copied = !present.found && !present.fault;
        // A copy takes the name the game looks for.
        const QString fileStem = meshFile.fileName().section(QLatin1Char('.'), 0, -2);
        if (fileStem.compare(meshName, Qt::CaseInsensitive) != 0)
            find(QStringLiteral("The mesh file is named %1, but the mesh inside it is named %2. "
                                "The new character file names the mesh, so the game looks for "
                                "%3.")
                     .arg(shownName(meshFile.fileName()), quotedMesh, shownName(wanted)),
                 copied);
        if (copied) {
            find(QStringLiteral("The mesh %1 is not in %2, where %3: without it the game crashes "
                                "or shows the character without a head.")
                     .arg(shownName(wanted), shownFolder(outputFolder), kSkinsHint),
                 true);
            check.copies.append({meshFile.filePath(), QDir(outputFolder).filePath(wanted)});
        }
    }

    if (noTexture || !plainTexture)
        return check;
    const QString textureName = texture + QStringLiteral(".bmp");
    QString textureFound = entryNamedIn(outputFolder, textureName);
    if (!textureFound.isEmpty() && fileKindOf(textureFound) != FileKind::Regular) {
        find(notRegular(textureFound, QStringLiteral("texture")));
        return check;
    }
    if (textureFound.isEmpty()) {
        const QString beside = regularFileNamedIn(meshFile.absolutePath(), textureName);
        find(QStringLiteral("The texture %1 is not in %2, where %3: without it the game "
                            "shows the accessory grey or white.")
                 .arg(shownName(textureName), shownFolder(outputFolder), kSkinsHint),
             !beside.isEmpty());
        if (beside.isEmpty())
            return check;
        check.copies.append({beside, QDir(outputFolder).filePath(textureName)});
        textureFound = beside;
    }
    if (const std::optional<QString> fault = textureFault(textureFound))
        find(QStringLiteral("The texture %1 %2: the game shows the accessory grey or white. Save "
                            "it as a 256-colour BMP.")
                 .arg(shownName(QFileInfo(textureFound).fileName()), *fault));
    return check;
}

GameCopies copyForTheGame(const QList<GameFileCopy> &copies)
{
    GameCopies done;
    for (const GameFileCopy &copy : copies) {
        const QFileInfo target(copy.to);
        const QString existing = entryNamedIn(target.absolutePath(), target.fileName());
        if (!existing.isEmpty() && fileKindOf(existing) == FileKind::Regular) {
            if (!sameContent(copy.from, existing))
                done.notes.append(
                    QStringLiteral("%1 already exists with other content, so it was left as it "
                                   "is; check that it is the file the game needs.")
                        .arg(shownName(QDir::toNativeSeparators(existing))));
            continue;
        }
        // QFile::copy writes a temporary file and renames it, so that no half
        // copy is left; it never replaces a file. Only a regular file is read.
        if (!existing.isEmpty() || fileKindOf(copy.from) != FileKind::Regular ||
            !QFile::copy(copy.from, copy.to)) {
            done.failures.append(QStringLiteral("%1 could not be copied into %2.")
                                     .arg(shownName(QDir::toNativeSeparators(copy.from)),
                                          shownFolder(target.absolutePath())));
            continue;
        }
        done.copied.append(copy.to);
    }
    return done;
}

} // namespace kelvane
