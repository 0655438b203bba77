#include "base/messagetext.h"
#include "foldercheck/folderchecker.h"
#include "foldercheck/innername.h"
#include "formats/characterformat.h"
#include "formats/fileformats.h"
#include "game/gamelayout.h"
#include "game/previewsources.h"
#include "game/texturerule.h"
#include "inputs/archivecharacters.h"
#include "inputs/inputfiles.h"
#include "inputs/texturefiles.h"

#include <QDir>

namespace kelvane {

namespace {

const QStringList kTones{QStringLiteral("lgt"), QStringLiteral("med"), QStringLiteral("drk")};

QString unreadable(const QString &what, const QString &reason)
{
    return QStringLiteral("cannot be read as %1 (%2); the game crashes or shows nothing.")
        .arg(what, reason);
}

QString nameOfMesh(const QFileInfo &file)
{
    const QString name = file.fileName();
    for (const QString &extension : extensionsOf(FileRole::Mesh)) {
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return name.chopped(extension.size());
    }
    return name;
}

} // namespace

FolderChecker::Found FolderChecker::findFile(const QStringList &fileNames) const
{
    for (const QString &name : fileNames) {
        const QString folded = name.toCaseFolded();
        if (const auto here = m_here.constFind(folded); here != m_here.cend())
            return {Where::Here, *here};
    }
    for (const QString &name : fileNames) {
        const QString folded = name.toCaseFolded();
        if (const auto loose = m_game.loose.constFind(folded); loose != m_game.loose.cend())
            return {Where::GameLoose, *loose};
        if (m_game.archived.contains(folded))
            return {Where::Archived, {}};
    }
    return {};
}

std::optional<Mesh> FolderChecker::meshAt(const QString &path)
{
    if (const auto read = m_meshes.constFind(path); read != m_meshes.cend())
        return *read;
    const Result<Mesh> mesh = readMeshFile(path);
    const std::optional<Mesh> kept = mesh.ok() ? std::optional(mesh.value()) : std::nullopt;
    m_meshes.insert(path, kept);
    return kept;
}

void FolderChecker::checkMesh(const QFileInfo &file)
{
    const Result<Mesh> mesh = readMeshFile(file.filePath());
    m_meshes.insert(file.filePath(), mesh.ok() ? std::optional(mesh.value()) : std::nullopt);
    if (!mesh.ok()) {
        add(FindingKind::Unreadable, file.filePath(),
            unreadable(QStringLiteral("a mesh file"), mesh.error()));
        return;
    }
    const QString inner = QString::fromLatin1(mesh.value().name);
    if (inner.compare(nameOfMesh(file), Qt::CaseInsensitive) == 0)
        return;
    const QString text = QStringLiteral("holds the mesh %1, not %2; the game does not find it.")
                             .arg(quotedBytes(mesh.value().name), shownName(nameOfMesh(file)));
    const QString rightName = inner + file.fileName().mid(nameOfMesh(file).size());
    Mend mend;
    if (!isPlainFileName(mesh.value().name))
        mend.text = QStringLiteral("the mesh name is no plain file name.");
    else if (m_here.contains(rightName.toCaseFolded()))
        mend.text = QStringLiteral("%1 is taken.").arg(shownName(rightName));
    else
        mend = {MendKind::Rename,
                {},
                file.dir().filePath(rightName),
                QStringLiteral("rename it to %1.").arg(shownName(rightName))};
    add(FindingKind::MeshName, file.filePath(), text, mend);
}

void FolderChecker::checkTexture(const QFileInfo &file)
{
    const TextureRead read = readTextureHeader(file.filePath());
    if (!read.header) {
        add(FindingKind::Unreadable, file.filePath(),
            QStringLiteral("%1; the game shows it grey or white, or crashes.").arg(read.fault));
        return;
    }
    if (const std::optional<QString> fault = colourFault(*read.header))
        add(FindingKind::TextureColours, file.filePath(),
            QStringLiteral("%1; the game shows it grey or white, or crashes.").arg(*fault),
            {MendKind::ConvertTexture,
             {},
             {},
             QStringLiteral("convert it to 256 colours, keeping the original as a backup.")});
    if (const std::optional<QString> fault = sizeFault(*read.header))
        add(FindingKind::TextureSize, file.filePath(),
            QStringLiteral("%1; the game shows it grey or white, or crashes.").arg(*fault));
}

void FolderChecker::checkArchive(const QFileInfo &file)
{
    const FileFormat &format = formatFor(FileRole::Archive, Encoding::Binary);
    const Result<FarArchive> archive = std::get<ArchiveReader>(format.reader)(file.filePath());
    if (!archive.ok())
        add(FindingKind::Unreadable, file.filePath(),
            unreadable(QString(format.description), archive.error()));
}

void FolderChecker::checkCharacter(const QFileInfo &file)
{
    const Result<QByteArray> bytes = readWholeFile(file.filePath());
    const FileFormat *format =
        bytes.ok() ? formatOf(bytes.value().left(kRecognitionBytes), bytes.value().size())
                   : nullptr;
    // The game's skeletons and animations share the extension: no outfit to check.
    if ((format && format->role == FileRole::Skeleton) ||
        (bytes.ok() && holdsSkeletonsOrSkills(bytes.value().left(kRecognitionBytes))))
        return;
    const Result<Character> character =
        bytes.ok() ? characterOf(bytes.value()) : Result<Character>(Failure{bytes.error()});
    if (!character.ok()) {
        add(FindingKind::Unreadable, file.filePath(),
            unreadable(QStringLiteral("a character file"), character.error()));
        return;
    }
    const QString stem = withoutCharacterExtension(file.fileName());
    const QByteArray inner = innerNameOf(bytes.value(), character.value());
    if (QString::fromLatin1(inner).compare(stem, Qt::CaseInsensitive) != 0) {
        const bool storable = QString::fromLatin1(stem.toLatin1()) == stem;
        add(FindingKind::InnerName, file.filePath(),
            QStringLiteral("its inner name %1 differs from its file name; the game does not find "
                           "the character or shows it blank.")
                .arg(quotedBytes(inner)),
            storable ? Mend{MendKind::WriteInnerName,
                            {},
                            {},
                            QStringLiteral("write %1 as its inner name, keeping the old file as a "
                                           "backup.")
                                .arg(shownName(stem))}
                     : Mend{MendKind::None,
                            {},
                            {},
                            QStringLiteral("its file name cannot be written inside it.")});
    }
    const QList<Skin> &skins = character.value().skins;
    bool wearsOwn = false;
    for (const Skin &skin : skins)
        wearsOwn |= checkSkinMesh(file, skin);
    if (wearsOwn)
        checkOwnTexture(file);
    if (!skins.isEmpty()) {
        m_outfits.append({file.filePath(), texturePrefixOf(file.fileName()).toCaseFolded(),
                          skins.first().mesh.toLower()});
    }
}

bool FolderChecker::checkSkinMesh(const QFileInfo &file, const Skin &skin)
{
    const QByteArray &meshName = skin.mesh;
    if (!isPlainFileName(meshName)) {
        add(FindingKind::MissingMesh, file.filePath(),
            QStringLiteral("the mesh name %1 is no plain file name, so the game finds no mesh; it "
                           "crashes or shows nothing.")
                .arg(quotedBytes(meshName)));
        return true;
    }
    const QStringList names = fileNamesOf(QString::fromLatin1(meshName), FileRole::Mesh);
    const Found found = findFile(names);
    if (found.where == Where::Nowhere) {
        add(FindingKind::MissingMesh, file.filePath(),
            QStringLiteral("the mesh %1 (%2) is found nowhere: not in this folder, the game's "
                           "Skins or SkinsBuy, nor its archives; the game crashes or shows "
                           "nothing.")
                .arg(quotedBytes(meshName), shownName(names.join(QStringLiteral(" or ")))));
        return true;
    }
    if (m_skinsBuy && found.where == Where::GameLoose) {
        const QString name = QFileInfo(found.path).fileName();
        add(FindingKind::BuyableMesh, file.filePath(),
            QStringLiteral("the mesh %1 of this buyable outfit is not beside it; the game "
                           "crashes to the desktop.")
                .arg(quotedBytes(meshName)),
            {MendKind::CopyBeside, found.path, file.dir().filePath(name),
             QStringLiteral("copy %1 beside it from %2.")
                 .arg(shownName(name),
                      shownName(QDir::toNativeSeparators(QFileInfo(found.path).path())))});
    }
    // A mesh of the game's archives comes with its texture.
    if (found.where == Where::Archived)
        return true;
    const std::optional<Mesh> mesh = meshAt(found.path);
    if (!mesh ||
        wearsOwnTexture(QString::fromLatin1(skin.bone), QString::fromLatin1(mesh->texture)))
        return true;
    checkMeshTexture(file, meshName, *mesh);
    return false;
}

void FolderChecker::checkOwnTexture(const QFileInfo &file)
{
    const QList<CharacterTexture> textures = characterTexturesAmong(
        file.fileName(), m_texturesById.value(file.fileName().left(4).toCaseFolded()));
    const QString hand = handCodeOf(file.fileName());
    const auto present = [this](const QString &name) {
        return m_texturesById.value(name.left(4).toCaseFolded())
            .contains(name, Qt::CaseInsensitive);
    };
    QStringList tones;
    for (const QString &tone : kTones) {
        const QStringList handTextures = handTextureFileNames(hand, tone);
        if (std::any_of(
                textures.cbegin(), textures.cend(),
                [&tone](const CharacterTexture &texture) { return texture.tone == tone; }) ||
            std::any_of(handTextures.cbegin(), handTextures.cend(), present))
            tones.append(tone);
    }
    if (!tones.isEmpty()) {
        m_report.tones.insert(file.filePath(), tones);
        return;
    }
    add(FindingKind::NoOwnTexture, file.filePath(),
        QStringLiteral("has no texture (%1lgt_LABEL.bmp, in any tone and with any label, is found "
                       "nowhere); the game shows it grey or white.")
            .arg(shownName(texturePrefixOf(file.fileName()))));
}

void FolderChecker::checkMeshTexture(const QFileInfo &file, const QByteArray &meshName,
                                     const Mesh &mesh)
{
    if (mesh.texture.isEmpty() || mesh.texture.compare("x", Qt::CaseInsensitive) == 0)
        return;
    if (!isPlainFileName(mesh.texture)) {
        add(FindingKind::MissingTexture, file.filePath(),
            QStringLiteral("the texture name %1 of the mesh %2 is no plain file name; the game "
                           "shows it grey or white.")
                .arg(quotedBytes(mesh.texture), quotedBytes(meshName)));
        return;
    }
    const QStringList names = fileNamesOf(QString::fromLatin1(mesh.texture), FileRole::Texture);
    if (findFile(names).where != Where::Nowhere)
        return;
    add(FindingKind::MissingTexture, file.filePath(),
        QStringLiteral("the texture %1 (%2) of the mesh %3 is found nowhere; the game shows it "
                       "grey or white.")
            .arg(quotedBytes(mesh.texture), shownName(names.constFirst()), quotedBytes(meshName)));
}

} // namespace kelvane
