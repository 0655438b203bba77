#include "preview/previewscene.h"

#include "compose/characterformat.h"
#include "compose/geometryfiles.h"
#include "compose/inputfiles.h"
#include "compose/messagetext.h"
#include "compose/previewsources.h"
#include "preview/pose.h"
#include "preview/texturefile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace kelvane {

namespace {

QString shownPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(path));
}

Result<Character> characterAt(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    const Result<QByteArray> bytes = readCharacterFile(input.value());
    if (!bytes.ok())
        return Failure{bytes.error()};
    Result<Character> character = characterOf(bytes.value());
    if (!character.ok())
        return Failure{inputFileFault(path, character.error())};
    return character;
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
    QString skeletonUsed;
    QStringList notes;
    QList<std::shared_ptr<const PreviewRenderer>> renderers;
};

// Reads and poses what the sources found, one step per member.
class SceneLoader
{
public:
    explicit SceneLoader(const PreviewRequest &request) : m_request(request) {}

    Result<LoadedScene> load()
    {
        const Result<Character> character = characterAt(m_request.characterPath);
        if (!character.ok())
            return Failure{character.error()};
        std::optional<AttachedMesh> attached;
        if (!m_request.meshPath.isEmpty()) {
            Result<AttachedMesh> read = attachedMeshAt(m_request.meshPath);
            if (!read.ok())
                return Failure{read.error()};
            attached = std::move(read).value();
        }
        m_sources =
            findPreviewSources({m_request.characterPath, character.value(), m_request.meshPath,
                                attached ? attached->mesh : Mesh{}, m_request.gameFolders});
        m_notes = m_sources.notes;

        if (const std::optional<QString> fault = readMeshes(attached))
            return Failure{*fault};
        const Result<QList<PosedMesh>> posed = pose();
        if (!posed.ok())
            return Failure{posed.error()};

        LoadedScene scene{m_sources.tones, m_skeletonUsed, {}, {}};
        const QStringList tones = scene.tones.isEmpty() ? QStringList{QString()} : scene.tones;
        for (const QString &tone : tones)
            scene.renderers.append(
                std::make_shared<const PreviewRenderer>(posed.value(), texturesIn(tone)));
        scene.notes = m_notes;
        return scene;
    }

private:
    // Every mesh found, read whole; a mesh that was found but cannot be read
    // refuses the preview, since the game would fail on it too.
    std::optional<QString> readMeshes(std::optional<AttachedMesh> &attached)
    {
        for (const MissingSource &missing : std::as_const(m_sources.missing)) {
            if (missing.kind == SourceKind::Mesh && missing.lack == SourceLack::Unreadable)
                return missing.detail;
        }
        for (qsizetype k = 0; k < m_sources.skins.size(); ++k) {
            const SkinSource &skin = m_sources.skins[k];
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
            m_skinOfMesh.append(k);
        }
        return std::nullopt;
    }

    Result<QList<PosedMesh>> pose()
    {
        if (!needsSkeleton(m_meshes))
            return poseMeshes(m_meshes, nullptr);
        if (!m_sources.skeleton)
            return Failure{skeletonNote(m_sources)};
        const FoundFile &file = *m_sources.skeleton;
        const Result<Skeleton> skeleton = skeletonAt(file.path);
        if (!skeleton.ok())
            return Failure{skeleton.error()};
        m_skeletonUsed = shownPath(file.path);
        m_notes.append(QStringLiteral("Posed on the skeleton %1, found in %2.")
                           .arg(shownPath(QFileInfo(file.path).fileName()), shownName(file.place)));
        Result<QList<PosedMesh>> posed = poseMeshes(m_meshes, &skeleton.value());
        if (!posed.ok())
            return Failure{QStringLiteral("%1: %2").arg(m_skeletonUsed, posed.error())};
        return posed;
    }

    // The picture each mesh wears in tone: the character's own texture in
    // that tone on the first skin, its mesh's texture on any other.
    QList<QImage> texturesIn(const QString &tone)
    {
        QList<QImage> textures;
        for (const qsizetype k : std::as_const(m_skinOfMesh)) {
            QImage texture;
            for (const TextureSource &source : std::as_const(m_sources.skins[k].textures)) {
                if (source.tone.isEmpty() || source.tone == tone) {
                    if (source.found)
                        texture = textureAt(source.found->path);
                    break;
                }
            }
            textures.append(texture);
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
        if (read.ok())
            texture = std::move(read).value();
        else if (path.endsWith(QLatin1StringView(".tga"), Qt::CaseInsensitive))
            m_notes.append(read.error() + QStringLiteral(" It is drawn plain light grey here."));
        else
            m_notes.append(read.error() + QStringLiteral(" It is drawn plain light grey; the game "
                                                         "would show it grey or white."));
        m_textures.insert(path, texture);
        return texture;
    }

    const PreviewRequest &m_request;
    PreviewSources m_sources;
    QList<MeshGeometry> m_meshes;
    QList<qsizetype> m_skinOfMesh; // the skin of m_sources each of m_meshes dresses
    QHash<QString, QImage> m_textures;
    QString m_skeletonUsed;
    QStringList m_notes;
};

} // namespace

QImage PreviewScene::render(QSize size, const PreviewView &view, const QString &tone) const
{
    if (m_renderers.isEmpty()) {
        QImage empty(size.expandedTo({1, 1}), QImage::Format_RGB32);
        empty.fill(view.background);
        return empty;
    }
    const qsizetype index = std::max<qsizetype>(m_tones.indexOf(tone), 0);
    return m_renderers.value(index, m_renderers.constFirst())->render(size, view);
}

Result<PreviewScene> loadPreviewScene(const PreviewRequest &request)
{
    Result<LoadedScene> loaded = SceneLoader(request).load();
    if (!loaded.ok())
        return Failure{loaded.error()};
    LoadedScene parts = std::move(loaded).value();
    PreviewScene scene;
    scene.m_tones = std::move(parts.tones);
    scene.m_skeletonUsed = std::move(parts.skeletonUsed);
    scene.m_notes = std::move(parts.notes);
    scene.m_renderers = std::move(parts.renderers);
    return scene;
}

} // namespace kelvane
