#include "preview/previewscene.h"

#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "game/previewsources.h"
#include "game/texturerule.h"
#include "inputs/filesummary.h"
#include "inputs/geometryfiles.h"
#include "inputs/inputfiles.h"
#include "preview/pose.h"
#include "preview/textureimage.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace kelvane {

namespace {

QString shownPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(path));
}

Result<MeshGeometry> geometryAt(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    return readMeshGeometry(input.value());
}

// The mesh being attached: what composing reads of it, and its whole geometry.
struct AttachedMesh {
    Mesh mesh;
    MeshGeometry geometry;
};

Result<AttachedMesh> attachedMeshAt(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    Result<Mesh> mesh = readMeshFile(input.value());
    if (!mesh.ok())
        return Failure{mesh.error()};
    Result<MeshGeometry> geometry = readMeshGeometry(input.value());
    if (!geometry.ok())
        return Failure{geometry.error()};
    return AttachedMesh{std::move(mesh).value(), std::move(geometry).value()};
}

// The skeleton a skeleton file holds for the character: its only one, or the
// one named as the file is ("adult" in adult-skeleton.cmx), or the first.
Result<Skeleton> skeletonAt(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    const Result<QList<Skeleton>> skeletons = readSkeletons(input.value());
    if (!skeletons.ok())
        return Failure{skeletons.error()};
    const QList<Skeleton> &all = skeletons.value();
    if (all.isEmpty())
        return Failure{inputFileFault(path, QStringLiteral("it holds no skeleton."))};
    const QByteArray wanted =
        QFileInfo(path).fileName().section(QLatin1Char('-'), 0, 0).toLatin1().toLower();
    for (const Skeleton &skeleton : all) {
        if (skeleton.name.toLower() == wanted)
            return skeleton;
    }
    return all.constFirst();
}

// What a scene is made of, as loaded.
struct LoadedScene {
    QStringList tones;
    QHash<QString, QStringList> labels;
    QHash<QString, QString> defaultLabels;
    QString skeletonUsed;
    QStringList notes;
    qsizetype triangles = 0;
    QHash<QString, std::shared_ptr<const PreviewRenderer>> renderers;
    std::shared_ptr<const PreviewRenderer> first;
};

QString sceneKey(const QString &tone, const QString &label)
{
    return tone + QLatin1Char('\n') + label.toCaseFolded();
}

// One character file of the scene: the main one, or one put with it.
struct ScenePart {
    QString path;
    PreviewSources sources;
};

// The label worn in tone when label is asked for: label when it is one of
// textures', else the default (see game/texturerule.h).
QString labelWorn(const QString &characterPath, const QList<TextureSource> &textures,
                  const QString &tone, const QString &label)
{
    QList<CharacterTexture> own;
    for (const TextureSource &texture : textures) {
        if (texture.tone == tone && texture.label.compare(label, Qt::CaseInsensitive) == 0)
            return texture.label;
        own.append({texture.fileName, texture.tone, texture.label});
    }
    return defaultTextureLabel(QFileInfo(QDir::fromNativeSeparators(characterPath)).fileName(), own,
                               tone);
}

// Reads and poses what the sources found, one step per member.
class SceneLoader
{
public:
    explicit SceneLoader(const PreviewRequest &request) : m_request(request) {}

    Result<LoadedScene> load()
    {
        std::optional<AttachedMesh> attached;
        if (!m_request.meshPath.isEmpty()) {
            Result<AttachedMesh> read = attachedMeshAt(m_request.meshPath);
            if (!read.ok())
                return Failure{read.error()};
            attached = std::move(read).value();
        }
        const QStringList paths = QStringList{m_request.characterPath} + m_request.withPaths;
        for (qsizetype p = 0; p < paths.size(); ++p) {
            const Result<Character> character = readCharacter(paths[p]);
            if (!character.ok())
                return Failure{character.error()};
            const bool main = p == 0;
            m_parts.append(
                {paths[p],
                 findPreviewSources(
                     {paths[p], character.value(), main ? m_request.meshPath : QString(),
                      main && attached ? attached->mesh : Mesh{}, m_request.gameFolders, true})});
            m_notes += m_parts.last().sources.notes;
            // The attached mesh's geometry is moved, not copied: it may be large.
            if (const std::optional<QString> fault =
                    readMeshes(p, main ? std::move(attached) : std::nullopt))
                return Failure{*fault};
        }
        const Result<QList<PosedMesh>> posed = pose();
        if (!posed.ok())
            return Failure{posed.error()};

        const PreviewSources &main = m_parts.first().sources;
        LoadedScene scene;
        scene.tones = main.tones;
        scene.skeletonUsed = m_skeletonUsed;
        for (const PosedMesh &mesh : posed.value())
            scene.triangles += mesh.faces.size();
        const PreviewRenderer first(posed.value(), texturesIn(main.tones.value(0), {}));
        scene.first = std::make_shared<const PreviewRenderer>(first);
        for (const QString &tone : main.tones) {
            scene.defaultLabels.insert(
                tone, labelWorn(m_request.characterPath, main.ownTextures, tone, {}));
            for (const TextureSource &texture : main.ownTextures) {
                // A unisex child's two sexes may share a label: the first is shown.
                if (texture.tone != tone ||
                    scene.labels[tone].contains(texture.label, Qt::CaseInsensitive))
                    continue;
                scene.labels[tone].append(texture.label);
                scene.renderers.insert(sceneKey(tone, texture.label),
                                       std::make_shared<const PreviewRenderer>(
                                           first.dressed(texturesIn(tone, texture.label))));
            }
        }
        scene.notes = m_notes;
        return scene;
    }

private:
    // Every mesh of part found, read whole; a mesh that was found but cannot
    // be read refuses the preview, since the game would fail on it too.
    std::optional<QString> readMeshes(qsizetype part, std::optional<AttachedMesh> attached)
    {
        const PreviewSources &sources = m_parts[part].sources;
        for (const MissingSource &missing : sources.missing) {
            if (missing.kind == SourceKind::Mesh && missing.lack == SourceLack::Unreadable)
                return missing.detail;
        }
        for (qsizetype k = 0; k < sources.skins.size(); ++k) {
            const SkinSource &skin = sources.skins[k];
            if (skin.attached && attached) {
                m_meshes.append(std::move(attached->geometry));
            } else if (skin.mesh) {
                Result<MeshGeometry> geometry = geometryAt(skin.mesh->path);
                if (!geometry.ok())
                    return geometry.error();
                m_meshes.append(std::move(geometry).value());
            } else {
                continue;
            }
            m_skinOfMesh.append({part, k});
        }
        return std::nullopt;
    }

    // On the skeleton whenever one is found; without one, meshes on one bone
    // stand as they would on it.
    Result<QList<PosedMesh>> pose()
    {
        const PreviewSources *withSkeleton = nullptr;
        for (const ScenePart &part : std::as_const(m_parts)) {
            if (part.sources.skeleton) {
                withSkeleton = &part.sources;
                break;
            }
        }
        if (!withSkeleton) {
            const PreviewSources &main = m_parts.first().sources;
            if (needsSkeleton(m_meshes))
                return Failure{skeletonNote(main)};
            m_notes.prepend(QStringLiteral("The skeleton %1 was not found, so the meshes, all on "
                                           "one bone, stand as that bone stands at rest.")
                                .arg(shownName(main.skeletonFileNames.value(0))));
            return poseMeshes(m_meshes, nullptr);
        }
        const FoundFile &file = *withSkeleton->skeleton;
        const Result<Skeleton> skeleton = skeletonAt(file.path);
        if (!skeleton.ok())
            return Failure{skeleton.error()};
        m_skeletonUsed = shownPath(file.path);
        m_notes.prepend(
            QStringLiteral("Posed on the skeleton %1, found in %2.")
                .arg(shownPath(QFileInfo(file.path).fileName()), shownName(file.place)));
        Result<QList<PosedMesh>> posed = poseMeshes(m_meshes, &skeleton.value());
        if (!posed.ok())
            return Failure{QStringLiteral("%1: %2").arg(m_skeletonUsed, posed.error())};
        return posed;
    }

    // The picture each mesh wears in tone with the main character's texture
    // of label: the character's own on its own skins (in the default label
    // for a character put with it), a hand's in tone, a mesh's own otherwise.
    QList<QImage> texturesIn(const QString &tone, const QString &label)
    {
        QList<QImage> textures;
        for (const auto &[part, k] : std::as_const(m_skinOfMesh)) {
            const ScenePart &owner = m_parts[part];
            const SkinSource &skin = owner.sources.skins[k];
            const TextureSource *worn = nullptr;
            if (skin.ownTexture) {
                const QStringList &tones = owner.sources.tones;
                const QString ownTone = tones.contains(tone) ? tone : tones.value(0);
                const QString ownLabel = labelWorn(owner.path, owner.sources.ownTextures, ownTone,
                                                   part == 0 ? label : QString());
                for (const TextureSource &texture : owner.sources.ownTextures) {
                    if (texture.tone == ownTone && texture.label == ownLabel) {
                        worn = &texture;
                        break;
                    }
                }
            } else {
                for (const TextureSource &texture : skin.textures) {
                    if (texture.tone.isEmpty() || texture.tone == tone) {
                        worn = &texture;
                        break;
                    }
                }
                if (!worn && skin.hand && !skin.textures.isEmpty())
                    worn = &skin.textures.first();
            }
            textures.append(worn && worn->found ? textureAt(worn->found->path) : QImage());
        }
        return textures;
    }

    QImage textureAt(const QString &path)
    {
        const auto known = m_textures.constFind(path);
        if (known != m_textures.cend())
            return *known;
        Result<QImage> read = readTextureFile(path);
        QImage texture;
        // A kind of texture the game does not load (a TGA) is the preview's alone.
        if (read.ok())
            texture = std::move(read).value();
        else if (const FileFormat *named = formatNamed(path, FileRole::Texture);
                 named && named != &gameTextureFormat())
            m_notes.append(read.error() + QStringLiteral(" It is drawn plain light grey here."));
        else
            m_notes.append(read.error() + QStringLiteral(" It is drawn plain light grey; the game "
                                                         "would show it grey or white."));
        m_textures.insert(path, texture);
        return texture;
    }

    const PreviewRequest &m_request;
    QList<ScenePart> m_parts;
    QList<MeshGeometry> m_meshes;
    // The part and skin each of m_meshes dresses.
    QList<std::pair<qsizetype, qsizetype>> m_skinOfMesh;
    QHash<QString, QImage> m_textures;
    QString m_skeletonUsed;
    QStringList m_notes;
};

} // namespace

QString PreviewScene::key(const QString &tone, const QString &label)
{
    return sceneKey(tone, label);
}

QImage PreviewScene::render(QSize size, const PreviewView &view, const QString &tone,
                            const QString &label) const
{
    if (!m_first) {
        QImage empty(size.expandedTo({1, 1}), QImage::Format_RGB32);
        empty.fill(view.background);
        return empty;
    }
    const QString shownTone = m_tones.contains(tone) ? tone : m_tones.value(0);
    const QString shownLabel = m_labels.value(shownTone).contains(label, Qt::CaseInsensitive)
                                   ? label
                                   : m_defaultLabels.value(shownTone);
    const auto found = m_renderers.constFind(key(shownTone, shownLabel));
    return (found == m_renderers.cend() ? m_first : *found)->render(size, view);
}

Result<PreviewScene> loadPreviewScene(const PreviewRequest &request)
{
    Result<LoadedScene> loaded = SceneLoader(request).load();
    if (!loaded.ok())
        return Failure{loaded.error()};
    LoadedScene parts = std::move(loaded).value();
    PreviewScene scene;
    scene.m_tones = std::move(parts.tones);
    scene.m_labels = std::move(parts.labels);
    scene.m_defaultLabels = std::move(parts.defaultLabels);
    scene.m_skeletonUsed = std::move(parts.skeletonUsed);
    scene.m_notes = std::move(parts.notes);
    scene.m_triangles = parts.triangles;
    scene.m_renderers = std::move(parts.renderers);
    scene.m_first = std::move(parts.first);
    return scene;
}

} // namespace kelvane
