#include "game/previewsources.h"

#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "game/gamelayout.h"
#include "game/sourceplaces.h"
#include "game/texturerule.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kelvane {

namespace {

// A mesh of either format, as readers of the game's files take it.
QStringList meshFileNames(const QString &name)
{
    return {name + formatFor(MeshFormat::Binary).extension,
            name + formatFor(MeshFormat::Text).extension};
}

QString shownList(const QStringList &items, const QString &separator)
{
    QStringList shown;
    for (const QString &item : items)
        shown.append(shownName(item));
    return shown.join(separator);
}

// Finds the files of a request, one search per file, keeping what is missing.
class Finder
{
public:
    explicit Finder(const PreviewSourcesRequest &request)
        : m_request(request), m_places(request.characterPath, request.gameFolders),
          m_characterFile(QFileInfo(QDir::fromNativeSeparators(request.characterPath)).fileName())
    {
    }

    PreviewSources find()
    {
        m_out.gameFolder = QDir::toNativeSeparators(m_places.ownGame());
        findSkeleton();
        const QList<Skin> &skins = m_request.character.skins;
        QList<std::optional<SourcePlace>> meshPlaces;
        for (qsizetype k = 0; k < skins.size(); ++k)
            meshPlaces.append(findSkin(k, skins[k]));
        findOwnTextures(meshPlaces);
        for (qsizetype k = 0; k < skins.size(); ++k) {
            if (!m_out.skins[k].ownTexture)
                findMeshTexture(k, meshPlaces[k]);
        }
        if (!m_request.meshPath.isEmpty())
            addAttached();
        if (m_request.withHands)
            addHands();
        m_out.notes += m_places.problems();
        return m_out;
    }

private:
    FoundFile foundFile(const FoundSource &found)
    {
        const FoundFile file{found.file.path, SourcePlaces::shown(found.place),
                             m_places.inOtherGame(found.place)};
        if (file.otherGame)
            m_out.notes.append(
                QStringLiteral("%1 was found only in another game, in %2; the game "
                               "this character file belongs to does not look "
                               "there.")
                    .arg(shownName(QFileInfo(file.path).fileName()), shownName(file.place)));
        return file;
    }

    void addMissing(MissingSource missing)
    {
        missing.name =
            missing.name.isEmpty() ? missing.fileNames.value(0).toLatin1() : missing.name;
        m_out.missing.append(missing);
    }

    void findSkeleton()
    {
        m_out.skeletonFileNames = skeletonFileNames(m_characterFile);
        const SourceSearch search = m_places.find(m_out.skeletonFileNames);
        m_out.skeletonPlacesLooked = search.looked;
        if (search.found)
            m_out.skeleton = foundFile(*search.found);
        else
            addMissing({SourceKind::Skeleton,
                        SourceLack::NotFound,
                        -1,
                        {},
                        m_out.skeletonFileNames,
                        search.looked,
                        {}});
    }

    // The skin's mesh, and where it was found.
    std::optional<SourcePlace> findSkin(qsizetype k, const Skin &skin)
    {
        SkinSource source{skin.bone, skin.mesh, false, {}, {}, false, false, {}};
        std::optional<SourcePlace> meshPlace;
        if (!isPlainFileName(skin.mesh)) {
            addMissing({SourceKind::Mesh, SourceLack::NotPlainName, k, skin.mesh, {}, {}, {}});
        } else {
            const QStringList names = meshFileNames(QString::fromLatin1(skin.mesh));
            const SourceSearch search = m_places.find(names);
            if (search.found) {
                source.mesh = foundFile(*search.found);
                meshPlace = SourcePlace::holding(search.found->file.path);
                meshPlace->game = search.found->place.game;
                const Result<Mesh> mesh = readMeshFile(search.found->file);
                if (mesh.ok())
                    source.meshTexture = mesh.value().texture;
                else
                    addMissing({SourceKind::Mesh, SourceLack::Unreadable, k, skin.mesh, names,
                                search.looked, mesh.error()});
            } else {
                addMissing({SourceKind::Mesh,
                            SourceLack::NotFound,
                            k,
                            skin.mesh,
                            names,
                            search.looked,
                            {}});
            }
        }
        const QString texture = QString::fromLatin1(source.meshTexture);
        source.ownTexture = wearsOwnTexture(QString::fromLatin1(skin.bone), texture);
        m_out.skins.append(source);
        return meshPlace;
    }

    // The character's own textures, looked for beside its first own skin's
    // mesh first, then everywhere. Without any, an own skin whose mesh names
    // a texture wears that one.
    void findOwnTextures(const QList<std::optional<SourcePlace>> &meshPlaces)
    {
        std::optional<SourcePlace> first;
        qsizetype firstOwn = -1;
        for (qsizetype k = 0; k < m_out.skins.size() && firstOwn < 0; ++k) {
            if (m_out.skins[k].ownTexture) {
                firstOwn = k;
                first = meshPlaces[k];
            }
        }
        if (firstOwn < 0)
            return;
        // The game finds a texture by its name in any of its places; the
        // first of each name is kept.
        QSet<QString> seen;
        const SourcePlaces::Selection selection = m_places.findSelected(
            [&](const QStringList &names) {
                QStringList picked;
                for (const CharacterTexture &texture :
                     characterTexturesAmong(m_characterFile, names)) {
                    if (!seen.contains(texture.fileName.toCaseFolded())) {
                        seen.insert(texture.fileName.toCaseFolded());
                        picked.append(texture.fileName);
                    }
                }
                return picked;
            },
            first, SourcePlaces::Reach::EveryPlace);
        QStringList fileNames;
        for (const FoundSource &found : selection.found)
            fileNames.append(QFileInfo(QDir::fromNativeSeparators(found.file.path)).fileName());
        const QList<CharacterTexture> textures = characterTexturesAmong(m_characterFile, fileNames);
        for (const CharacterTexture &texture : textures) {
            const qsizetype at = fileNames.indexOf(texture.fileName);
            if (at < 0)
                continue;
            m_out.ownTextures.append(
                {texture.tone, texture.fileName, foundFile(selection.found[at]), texture.label});
        }
        for (const QString &tone : skinTones()) {
            if (std::any_of(textures.cbegin(), textures.cend(),
                            [&](const CharacterTexture &t) { return t.tone == tone; }))
                m_out.tones.append(tone);
        }
        if (!m_out.ownTextures.isEmpty())
            return;
        bool anyLeft = false;
        for (SkinSource &skin : m_out.skins) {
            const bool namesOne = !skin.meshTexture.isEmpty() &&
                                  skin.meshTexture.compare("x", Qt::CaseInsensitive) != 0;
            if (skin.ownTexture && namesOne)
                skin.ownTexture = false;
            anyLeft = anyLeft || skin.ownTexture;
        }
        if (!anyLeft)
            return;
        QStringList patterns;
        const QString prefix = texturePrefixOf(m_characterFile);
        for (const QString &tone : skinTones())
            patterns.append(prefix + tone + QLatin1Char('_') + gameTextureFormat().listPattern);
        MissingSource missing{SourceKind::Texture,
                              SourceLack::NotFound,
                              firstOwn,
                              {},
                              patterns,
                              selection.looked,
                              {}};
        missing.characterOwn = true;
        addMissing(missing);
    }

    // The game's open hands on a body, when its code tells its sex and age.
    void addHands()
    {
        const QList<HandMesh> hands = openHandsOf(characterCodeOf(m_characterFile));
        QStringList notFound;
        for (const HandMesh &hand : hands) {
            const SourceSearch search =
                m_places.find(meshFileNames(QString::fromLatin1(hand.meshName)));
            if (!search.found) {
                notFound.append(QString::fromLatin1(hand.meshName));
                continue;
            }
            SkinSource source{hand.bone, hand.meshName, false, foundFile(*search.found),
                              {},        false,         true,  {}};
            SourcePlace place = SourcePlace::holding(search.found->file.path);
            place.game = search.found->place.game;
            for (const QString &tone : skinTones()) {
                const QStringList names = handTextureFileNames(hand.code, tone);
                const SourceSearch texture = m_places.find(names, place);
                if (texture.found)
                    source.textures.append(
                        {tone,
                         QFileInfo(QDir::fromNativeSeparators(texture.found->file.path)).fileName(),
                         foundFile(*texture.found),
                         {}});
            }
            m_out.skins.append(source);
        }
        if (!notFound.isEmpty())
            m_out.notes.append(QStringLiteral("The game's open hands (%1) were not found where "
                                              "meshes are looked for; the body is drawn without "
                                              "them.")
                                   .arg(shownList(notFound, QStringLiteral(", "))));
    }

    void addAttached()
    {
        const Mesh &mesh = m_request.mesh;
        const SourcePlace place = SourcePlace::holding(m_request.meshPath);
        const FoundFile file{m_request.meshPath, SourcePlaces::shown(place), false};
        m_out.skins.append(
            {mesh.bones.value(0), mesh.name, true, file, mesh.texture, false, false, {}});
        findMeshTexture(m_out.skins.size() - 1, place);
    }

    void findMeshTexture(qsizetype k, const std::optional<SourcePlace> &first)
    {
        const QByteArray name = m_out.skins[k].meshTexture;
        if (name.isEmpty() || name.compare("x", Qt::CaseInsensitive) == 0)
            return;
        if (!isPlainFileName(name)) {
            addMissing({SourceKind::Texture, SourceLack::NotPlainName, k, name, {}, {}, {}});
            return;
        }
        // A BMP, or where there is none a TGA of its name.
        const QStringList names = fileNamesOf(QString::fromLatin1(name), FileRole::Texture);
        const SourceSearch search = m_places.find(names, first);
        TextureSource texture{{}, names.first(), {}, {}};
        if (search.found)
            texture.found = foundFile(*search.found);
        else
            addMissing(
                {SourceKind::Texture, SourceLack::NotFound, k, name, names, search.looked, {}});
        m_out.skins[k].textures.append(texture);
    }

    const PreviewSourcesRequest &m_request;
    SourcePlaces m_places;
    const QString m_characterFile;
    PreviewSources m_out;
};

QString missingNote(const MissingSource &missing, const QList<SkinSource> &skins)
{
    const QString name = quotedBytes(missing.name);
    const QString files = shownList(missing.fileNames, QStringLiteral(" or "));
    const QString looked = shownList(missing.placesLooked, QStringLiteral("; "));
    const QString mesh = quotedBytes(skins.value(missing.skin).meshName);
    if (missing.kind == SourceKind::Mesh) {
        switch (missing.lack) {
        case SourceLack::NotPlainName:
            return QStringLiteral("The mesh name %1 is not a plain file name, so it was not "
                                  "looked up and is left out; the game would crash or show "
                                  "nothing here.")
                .arg(name);
        case SourceLack::Unreadable:
            return QStringLiteral("The mesh %1 cannot be read; the game would crash or show "
                                  "nothing here. %2")
                .arg(name, missing.detail);
        case SourceLack::NotFound:
            break;
        }
        return QStringLiteral("The mesh %1 (%2) was not found and is left out; the game would "
                              "crash or show nothing here. Looked in: %3.")
            .arg(name, files, looked);
    }
    if (missing.lack == SourceLack::NotPlainName)
        return QStringLiteral("The texture name %1 of the mesh %2 is not a plain file name, so it "
                              "was not looked up; the mesh is drawn plain light grey, and the "
                              "game would show it grey or white.")
            .arg(name, mesh);
    if (missing.characterOwn)
        return QStringLiteral("None of the character's textures (%1) was found; the skin is "
                              "drawn plain light grey, and the game would show it grey or white. "
                              "Looked in: %2.")
            .arg(shownList(missing.fileNames, QStringLiteral(", ")), looked);
    return QStringLiteral("The texture %1 (%2) of the mesh %3 was not found; the mesh is drawn "
                          "plain light grey, and the game would show it grey or white. Looked "
                          "in: %4.")
        .arg(name, files, mesh, looked);
}

} // namespace

PreviewSources findPreviewSources(const PreviewSourcesRequest &request)
{
    PreviewSources sources = Finder(request).find();
    QStringList notes;
    for (const MissingSource &missing : std::as_const(sources.missing)) {
        if (missing.kind != SourceKind::Skeleton)
            notes.append(missingNote(missing, sources.skins));
    }
    sources.notes = notes + sources.notes;
    return sources;
}

bool isChildCharacter(const QString &characterFileName)
{
    const QString code =
        withoutCharacterExtension(characterFileName).section(QLatin1Char('_'), 0, 0);
    if (code.endsWith(QLatin1StringView("chd"), Qt::CaseInsensitive))
        return true;
    if (code.size() < 6 || !code[0].isLetter())
        return false;
    for (qsizetype i = 1; i < 4; ++i) {
        if (!code[i].isDigit())
            return false;
    }
    return QStringView(u"FMU").contains(code[4].toUpper()) && code[5].toUpper() == QLatin1Char('C');
}

QStringList skeletonFileNames(const QString &characterFileName)
{
    const QString name = isChildCharacter(characterFileName) ? QStringLiteral("child-skeleton")
                                                             : QStringLiteral("adult-skeleton");
    return fileNamesOf(name, FileRole::Skeleton);
}

QString characterTextureName(const QString &characterFileName, const QString &tone)
{
    const QString name = withoutCharacterExtension(characterFileName);
    const QString extension = gameTextureFormat().extension;
    const qsizetype label = name.indexOf(QLatin1Char('_'));
    if (label < 0)
        return name + tone + extension;
    return name.left(label) + tone + name.mid(label) + extension;
}

QString skeletonNote(const PreviewSources &sources)
{
    return QStringLiteral("The skeleton %1 was not found, so the character cannot be posed. "
                          "Looked in: %2.")
        .arg(shownList(sources.skeletonFileNames, QStringLiteral(" or ")),
             shownList(sources.skeletonPlacesLooked, QStringLiteral("; ")));
}

} // namespace kelvane
