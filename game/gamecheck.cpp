#include "game/gamecheck.h"

#include "base/filekind.h"
#include "base/linelist.h"
#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "formats/textureheader.h"
#include "game/gamelayout.h"
#include "inputs/archivepath.h"
#include "inputs/inputfiles.h"
#include "inputs/texturefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace kelvane {

namespace {

const QString kSkinsHint = QStringLiteral("the game looks for it there");

// The regular file of that name in folder, found as the game finds it; a
// pipe or device of that name is never taken, so that nothing opened blocks.
QString regularFileNamedIn(const QString &folder, const QString &name)
{
    const QString found = entryNamedIn(folder, name);
    return fileKindOf(found) == FileKind::Regular ? found : QString();
}

QString fullPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

// What a mesh is to the character, judged as the game names its own,
// "xskin-NAME-BONE-PART": by the last "-" field, HEAD for a head and BODY for
// a body, any other word ("...-HEAD-GPASPECS", "...-headband") an accessory.
// A name without a word there (none, or a number) says nothing: a mesh bound
// to several bones or to the pelvis is then a body, any other an accessory.
enum class MeshRole { Head, Body, Accessory };

MeshRole roleOf(const Mesh &mesh)
{
    const QByteArray name = mesh.name.trimmed();
    const qsizetype dash = name.lastIndexOf('-');
    const QByteArray part = dash < 0 ? QByteArray() : name.mid(dash + 1).trimmed().toUpper();
    const bool named =
        std::any_of(part.cbegin(), part.cend(), [](char c) { return c >= 'A' && c <= 'Z'; });
    if (named)
        return part == "HEAD"   ? MeshRole::Head
               : part == "BODY" ? MeshRole::Body
                                : MeshRole::Accessory;
    const QByteArray bone = mesh.bones.value(0).trimmed().toUpper();
    return mesh.boneCount > 1 || bone == "PELVIS" ? MeshRole::Body : MeshRole::Accessory;
}

QString nounOf(MeshRole role)
{
    switch (role) {
    case MeshRole::Head:
        return QStringLiteral("head");
    case MeshRole::Body:
        return QStringLiteral("body");
    case MeshRole::Accessory:
        break;
    }
    return QStringLiteral("accessory");
}

QString withoutItOf(MeshRole role)
{
    switch (role) {
    case MeshRole::Head:
        return QStringLiteral("the game crashes or shows a headless Sim");
    case MeshRole::Body:
        return QStringLiteral("the game crashes or shows a bodiless Sim");
    case MeshRole::Accessory:
        break;
    }
    return QStringLiteral("the game crashes or shows nothing of the accessory");
}

bool hasBlanksAround(const QByteArray &name)
{
    return !name.isEmpty() && (isBlank(name.front()) || isBlank(name.back()));
}

// A name in quotes with each blank at its start or end shown as a middle dot,
// so that it is seen in a box and a terminal alike.
QString quotedShowingBlanks(QByteArray name)
{
    for (qsizetype i = 0; i < name.size() && name[i] == ' '; ++i)
        name[i] = '\xb7';
    for (qsizetype i = name.size() - 1; i >= 0 && name[i] == ' '; --i)
        name[i] = '\xb7';
    return quotedBytes(name);
}

QString notPlain(const QString &meshPath, const QString &what, const QByteArray &name)
{
    return QStringLiteral("%1: the %2 name %3 is not a plain file name: the game cannot find it "
                          "either, and nothing is copied or looked for under it.")
        .arg(fullPath(meshPath), what, quotedBytes(name));
}

QString notRegular(const QString &path, const QString &what)
{
    return QStringLiteral("%1 is not a regular file, so the game cannot read the %2 from it; "
                          "remove or rename it.")
        .arg(fullPath(path), what);
}

// The mesh file of the name the game looks for in folder, compared with the
// one at source: found when it holds the same bytes, replaceable when it is a
// mesh file of the same format with other content; a fault when the file of
// that name cannot be replaced by a copy.
struct MeshInFolder {
    QString path;
    bool found = false;
    bool replaceable = false;
    std::optional<QString> fault;
};

MeshInFolder meshIn(const QString &folder, const Mesh &mesh, const QString &source)
{
    const QString name = QString::fromLatin1(mesh.name);
    const QString sourceExtension = formatFor(mesh.format).extension;
    for (const FileFormat *format : formatsOf(FileRole::Mesh)) {
        const QString path = entryNamedIn(folder, name + format->extension);
        if (path.isEmpty())
            continue;
        if (fileKindOf(path) != FileKind::Regular)
            return {path, false, false, notRegular(path, QStringLiteral("mesh"))};
        const Result<Mesh> held = readMeshFile(path);
        const bool holdsIt =
            held.ok() &&
            QString::fromLatin1(held.value().name).compare(name, Qt::CaseInsensitive) == 0;
        if (held.ok() && format->extension == sourceExtension)
            return {path, sameFileContent(path, source), true, std::nullopt};
        if (holdsIt)
            return {path, true, false, std::nullopt};
        return {path, false, false,
                QStringLiteral("%1 is in the way: the game loads it for the mesh %2, but %3. "
                               "Nothing is copied over it; remove or rename it.")
                    .arg(fullPath(path), quotedBytes(mesh.name),
                         held.ok() ? QStringLiteral("it holds the mesh %1")
                                         .arg(quotedBytes(held.value().name))
                                   : QStringLiteral("it is no mesh file"))};
    }
    return {};
}

// Whether the file at path holds the picture at source converted to 256
// colours, as copying converts it.
bool holdsConverted(const QString &path, const QString &source, const TextureConverter &convert)
{
    if (!convert)
        return false;
    const Result<QByteArray> converted = convert(source);
    if (!converted.ok())
        return false;
    QFile file;
    return openRegularFile(file, path).ok() && file.size() == converted.value().size() &&
           file.readAll() == converted.value();
}

} // namespace

bool sameFileContent(const QString &a, const QString &b)
{
    QFile first;
    QFile second;
    if (!openRegularFile(first, a).ok() || !openRegularFile(second, b).ok() ||
        first.size() != second.size())
        return false;
    constexpr qint64 kPiece = 64 * 1024;
    while (!first.atEnd()) {
        if (first.read(kPiece) != second.read(kPiece))
            return false;
    }
    return true;
}

QStringList GameCheck::findings(Copies made) const
{
    QStringList texts;
    for (const GameFinding &finding : found) {
        const bool mended =
            (made == Copies::Made && finding.mendedBy == MendedBy::Copies) ||
            (made == Copies::MadeReplacing && finding.mendedBy != MendedBy::Nothing);
        if (!mended)
            texts.append(finding.text);
    }
    return texts;
}

GameCheck checkWhatTheGameNeeds(const QString &meshPath, const Mesh &mesh,
                                const QString &outputFolder, const TextureConverter &convert)
{
    GameCheck check;
    const auto find = [&check](const QString &text, MendedBy mended = MendedBy::Nothing) {
        check.found.append({text, mended});
    };
    const QString meshName = QString::fromLatin1(mesh.name);
    const QString quotedMesh = quotedBytes(mesh.name);
    const MeshRole role = roleOf(mesh);
    const QString shownMeshFile = fullPath(meshPath);

    if (mesh.boneCount != 1)
        find(QStringLiteral("%1: the mesh %2 is bound to %3 bones: it is a body rather than an "
                            "accessory. It is attached by its first bone, %4, only, so the game "
                            "may show it torn or crash.")
                 .arg(shownMeshFile, quotedMesh, QString::number(mesh.boneCount),
                      quotedBytes(mesh.bones.value(0))));
    if (hasBlanksAround(mesh.name) || hasBlanksAround(mesh.bones.value(0)))
        find(QStringLiteral("%1: the mesh name %2 or its bone %3 has blanks at its start or end "
                            "(each shown as \u00b7). They are copied as they are, and the game "
                            "will not find a mesh or bone of that name.")
                 .arg(shownMeshFile, quotedShowingBlanks(mesh.name),
                      quotedShowingBlanks(mesh.bones.value(0))));
    const bool plainMesh = isPlainFileName(mesh.name);
    if (!plainMesh)
        find(notPlain(meshPath, QStringLiteral("mesh"), mesh.name));
    const QString texture = QString::fromLatin1(mesh.texture);
    const bool noTexture =
        texture.isEmpty() || texture.compare(QLatin1StringView("x"), Qt::CaseInsensitive) == 0;
    const bool plainTexture = noTexture || isPlainFileName(mesh.texture);
    if (!plainTexture)
        find(notPlain(meshPath, QStringLiteral("texture"), mesh.texture));

    // The game's own archives hold their meshes and textures.
    if (archivePathOf(meshPath))
        return check;

    const QFileInfo meshFile(meshPath);
    const QDir output(outputFolder);
    if (plainMesh) {
        const QString wanted = output.filePath(meshName + formatFor(mesh.format).extension);
        const MeshInFolder present = meshIn(outputFolder, mesh, meshFile.filePath());
        if (present.fault)
            find(*present.fault);
        // A copy takes the name the game looks for.
        const bool copied = !present.found && !present.fault;
        const MendedBy mended = present.replaceable ? MendedBy::Replacing : MendedBy::Copies;
        const QString fileStem = meshFile.fileName().section(QLatin1Char('.'), 0, -2);
        if (fileStem.compare(meshName, Qt::CaseInsensitive) != 0)
            find(QStringLiteral("%1 is named otherwise than the mesh inside it, %2. The new "
                                "character file names the mesh, so the game looks for %3.")
                     .arg(shownMeshFile, quotedMesh, fullPath(wanted)),
                 copied ? mended : MendedBy::Nothing);
        if (copied && present.replaceable) {
            find(QStringLiteral("%1 holds other content than %2: the game loads the one in the "
                                "folder of the new file.")
                     .arg(fullPath(present.path), shownMeshFile),
                 MendedBy::Replacing);
            check.copies.append({meshFile.filePath(), present.path, true, false});
        } else if (copied) {
            find(QStringLiteral("%1 is missing, and %2: without it %3.")
                     .arg(fullPath(wanted), kSkinsHint, withoutItOf(role)),
                 MendedBy::Copies);
            check.copies.append({meshFile.filePath(), wanted, false, false});
        }
    }

    if (noTexture || !plainTexture)
        return check;
    const QString noun = nounOf(role);
    const QString textureName = texture + gameTextureFormat().extension;
    const QString inFolder = entryNamedIn(outputFolder, textureName);
    if (!inFolder.isEmpty() && fileKindOf(inFolder) != FileKind::Regular) {
        find(notRegular(inFolder, QStringLiteral("texture")));
        return check;
    }
    const QString beside = regularFileNamedIn(meshFile.absolutePath(), textureName);
    const TextureRead besideRead = beside.isEmpty() ? TextureRead{} : readTextureHeader(beside);
    const bool besideConverts = besideRead.header && colourFault(*besideRead.header).has_value();
    // A picture far too large is never copied: it is no texture the game can use.
    const bool besideCopied =
        !beside.isEmpty() && !(besideRead.header && tooLargeToConvert(*besideRead.header));
    QString used = inFolder;
    if (inFolder.isEmpty()) {
        find(QStringLiteral("%1 is missing, and %2: without it the game shows the %3 grey or "
                            "white.")
                 .arg(fullPath(output.filePath(textureName)), kSkinsHint, noun),
             besideCopied ? MendedBy::Copies : MendedBy::Nothing);
        if (beside.isEmpty())
            return check;
        if (besideCopied)
            check.copies.append({beside, output.filePath(textureName), false, besideConverts});
        used = beside;
    } else if (!beside.isEmpty() && !sameFileContent(beside, inFolder) &&
               !(besideConverts && besideCopied && holdsConverted(inFolder, beside, convert))) {
        find(QStringLiteral("%1 holds another picture than %2: the game shows the one in the "
                            "folder of the new file.")
                 .arg(fullPath(inFolder), fullPath(beside)),
             besideCopied ? MendedBy::Replacing : MendedBy::Nothing);
        if (besideCopied)
            check.copies.append({beside, inFolder, true, besideConverts});
        used = beside;
    }
    const TextureRead read = used == beside ? besideRead : readTextureHeader(used);
    const bool copiedFromBeside =
        used == beside && !check.copies.isEmpty() && check.copies.constLast().from == beside;
    if (!read.header) {
        find(QStringLiteral("%1 %2: the game shows the %3 grey or white. Save it as a "
                            "256-colour BMP.")
                 .arg(fullPath(used), read.fault, noun));
        return check;
    }
    if (const std::optional<QString> fault = colourFault(*read.header)) {
        if (copiedFromBeside)
            find(QStringLiteral("%1 %2: the game shows the %3 grey or white. Copying converts "
                                "it to 256 colours and leaves this file as it is.")
                     .arg(fullPath(used), *fault, noun),
                 check.copies.constLast().replaces ? MendedBy::Replacing : MendedBy::Copies);
        else
            find(QStringLiteral("%1 %2: the game shows the %3 grey or white. Save it as a "
                                "256-colour BMP.")
                     .arg(fullPath(used), *fault, noun));
    }
    if (const std::optional<QString> fault = sizeFault(*read.header))
        find(QStringLiteral("%1 %2: the game may show the %3 garbled or crash. Resize it.")
                 .arg(fullPath(used), *fault, noun));
    return check;
}

} // namespace kelvane
