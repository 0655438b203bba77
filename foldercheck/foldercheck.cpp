#include "foldercheck/foldercheck.h"

#include "base/gamefoldernames.h"
#include "base/messagetext.h"
#include "foldercheck/folderchecker.h"
#include "foldercheck/renumber.h"
#include "formats/fileformats.h"
#include "game/texturerule.h"
#include "platform/virtualstore.h"

#include <QDir>
#include <QDirIterator>

#include <algorithm>

namespace kelvane {

namespace {

// Players' downloads nest a few folders deep at most.
constexpr int kSubfolderDepth = 8;
constexpr qsizetype kNestedFilesListed = 100000;

bool endsWithAny(const QString &name, const QStringList &extensions)
{
    return std::any_of(extensions.cbegin(), extensions.cend(), [&name](const QString &extension) {
        return name.size() > extension.size() && name.endsWith(extension, Qt::CaseInsensitive);
    });
}

QString shownPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(path));
}

} // namespace

SkinFile skinFileOf(const QString &fileName)
{
    static const QStringList characters = extensionsOf(FileRole::Character);
    static const QStringList meshes = extensionsOf(FileRole::Mesh);
    static const QStringList archives = extensionsOf(FileRole::Archive);
    if (endsWithAny(fileName, characters))
        return SkinFile::Character;
    if (endsWithAny(fileName, meshes))
        return SkinFile::Mesh;
    if (endsWithAny(fileName, {gameTextureFormat().extension}))
        return SkinFile::Texture;
    if (endsWithAny(fileName, archives))
        return SkinFile::Archive;
    return SkinFile::Other;
}

FolderChecker::FolderChecker(const FolderCheckRequest &request) : m_request(request) {}

FolderReport FolderChecker::run()
{
    m_report.folder = m_request.folder;
    m_skinsBuy =
        QDir(m_request.folder).dirName().compare(kSkinsBuyFolder, Qt::CaseInsensitive) == 0;
    m_report.games = gamesFor(m_request.folder, m_request.gameFolders);
    m_game = gameFilesOf(m_report.games, m_request.cancelled);
    listFolder();
    for (const QString &name : std::as_const(m_game.names)) {
        m_report.usedIds.insert(idOfName(name));
        if (skinFileOf(name) == SkinFile::Texture)
            m_texturesById[name.left(4).toCaseFolded()].append(name);
    }
    m_report.usedIds.remove(QString());
    findCaseClashes();
    // Meshes first: the characters' checks take the meshes read.
    for (const SkinFile kind :
         {SkinFile::Mesh, SkinFile::Texture, SkinFile::Archive, SkinFile::Character}) {
        for (const TopFile &top : std::as_const(m_top)) {
            if (top.kind != kind)
                continue;
            const QFileInfo &file = top.info;
            if (!stepDone())
                return m_report;
            switch (kind) {
            case SkinFile::Mesh:
                checkMesh(file);
                break;
            case SkinFile::Texture:
                checkTexture(file);
                break;
            case SkinFile::Archive:
                checkArchive(file);
                break;
            default:
                checkCharacter(file);
                break;
            }
        }
    }
    findSharedPrefixes();
    findInSubfolders();
    findInVirtualStore();
    m_report.filesChecked = m_done;
    std::stable_sort(m_report.findings.begin(), m_report.findings.end(),
                     [](const Finding &a, const Finding &b) {
                         const int order = a.path.compare(b.path, Qt::CaseInsensitive);
                         return order != 0 ? order < 0 : a.path < b.path;
                     });
    return m_report;
}

bool FolderChecker::stepDone()
{
    if (m_request.cancelled && m_request.cancelled()) {
        m_report.cancelled = true;
        m_report.filesChecked = m_done;
        return false;
    }
    if (m_request.progress)
        m_request.progress(m_done, m_total);
    ++m_done;
    return true;
}

void FolderChecker::listFolder()
{
    const QDir::Filters files = QDir::Files | QDir::Hidden;
    for (QDirIterator it(m_request.folder, files); it.hasNext();) {
        it.next();
        const QString name = it.fileName();
        m_report.usedIds.insert(idOfName(name));
        const SkinFile kind = skinFileOf(name);
        if (kind == SkinFile::Other)
            continue;
        m_top.append({name, kind, it.fileInfo()});
        m_here.insert(name.toCaseFolded(), it.filePath());
        if (kind == SkinFile::Texture)
            m_texturesById[name.left(4).toCaseFolded()].append(name);
    }
    std::sort(m_top.begin(), m_top.end(),
              [](const TopFile &a, const TopFile &b) { return a.name < b.name; });
    // Breadth first, bounded, never through a link to a folder.
    QStringList level{m_request.folder};
    for (int depth = 0; depth < kSubfolderDepth && !level.isEmpty(); ++depth) {
        QStringList next;
        for (const QString &folder : std::as_const(level)) {
            for (QDirIterator it(folder, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
                 it.hasNext();) {
                it.next();
                if (it.fileInfo().isSymLink())
                    continue;
                next.append(it.filePath());
                for (QDirIterator files(it.filePath(), QDir::Files | QDir::Hidden);
                     files.hasNext() && m_nested.size() < kNestedFilesListed;) {
                    files.next();
                    m_report.usedIds.insert(idOfName(files.fileName()));
                    if (skinFileOf(files.fileName()) != SkinFile::Other)
                        m_nested.append(files.fileInfo());
                }
            }
        }
        level = next;
    }
    m_total = m_top.size() + m_nested.size();
}

void FolderChecker::findCaseClashes()
{
    QHash<QString, QStringList> byFolded;
    for (const TopFile &file : std::as_const(m_top))
        byFolded[file.name.toCaseFolded()].append(file.info.filePath());
    for (const QStringList &paths : std::as_const(byFolded)) {
        if (paths.size() < 2)
            continue;
        for (const QString &path : paths) {
            QStringList others;
            for (const QString &other : paths) {
                if (other != path)
                    others.append(shownName(QFileInfo(other).fileName()));
            }
            add(FindingKind::CaseClash, path,
                QStringLiteral("its name differs only in case from %1; Windows sees only one of "
                               "them.")
                    .arg(others.join(QStringLiteral(", "))));
        }
    }
}

void FolderChecker::findInSubfolders()
{
    QHash<QString, int> nestedNames;
    for (const QFileInfo &file : std::as_const(m_nested))
        ++nestedNames[file.fileName().toCaseFolded()];
    const QDir top(m_request.folder);
    for (const QFileInfo &file : std::as_const(m_nested)) {
        if (!stepDone())
            return;
        const QString folded = file.fileName().toCaseFolded();
        const QString subfolder = top.relativeFilePath(file.absolutePath());
        const QString text = QStringLiteral("lies in the subfolder %1, which the game never reads.")
                                 .arg(shownPath(subfolder));
        Mend mend;
        if (m_here.contains(folded))
            mend.text = QStringLiteral("%1 is already in %2.")
                            .arg(shownName(QFileInfo(m_here.value(folded)).fileName()),
                                 shownPath(m_request.folder));
        else if (nestedNames.value(folded) > 1)
            mend.text = QStringLiteral("another subfolder holds a file of the same name.");
        else
            mend = {MendKind::MoveUp,
                    {},
                    top.filePath(file.fileName()),
                    QStringLiteral("move it up into %1.").arg(shownPath(m_request.folder))};
        add(FindingKind::InSubfolder, file.filePath(), text, mend);
    }
}

void FolderChecker::findSharedPrefixes()
{
    QHash<QString, QList<const Outfit *>> byPrefix;
    for (const Outfit &outfit : std::as_const(m_outfits))
        byPrefix[outfit.prefix].append(&outfit);
    for (const QList<const Outfit *> &outfits : std::as_const(byPrefix)) {
        for (const Outfit *outfit : outfits) {
            QStringList others;
            for (const Outfit *other : outfits) {
                if (other->mesh != outfit->mesh)
                    others.append(shownName(QFileInfo(other->path).fileName()));
            }
            if (others.isEmpty())
                continue;
            const QString name = QFileInfo(outfit->path).fileName();
            add(FindingKind::SharedPrefix, outfit->path,
                QStringLiteral("shares its ID and prefix %1 with %2, which wear other meshes; "
                               "each may wear the other's textures.")
                    .arg(shownName(texturePrefixOf(name)), others.join(QStringLiteral(", "))),
                {MendKind::Renumber,
                 {},
                 {},
                 QStringLiteral("renumber it to a free ID (only when asked for this file).")});
        }
    }
}

void FolderChecker::findInVirtualStore()
{
    const QString store =
        m_request.virtualStore ? *m_request.virtualStore : virtualStoreFolderFor(m_request.folder);
    if (store.isEmpty())
        return;
    for (QDirIterator it(store, QDir::Files | QDir::Hidden); it.hasNext();) {
        it.next();
        ++m_done;
        const QString target = QDir(m_request.folder).filePath(it.fileName());
        const bool taken = m_here.contains(it.fileName().toCaseFolded());
        add(FindingKind::VirtualStore, it.filePath(),
            QStringLiteral("lies in the user's VirtualStore instead of %1; the game sees it or not "
                           "depending on how it is started.")
                .arg(shownPath(m_request.folder)),
            taken ? Mend{MendKind::None,
                         {},
                         {},
                         QStringLiteral("a file of that name is already in the folder.")}
                  : Mend{MendKind::MoveIn,
                         {},
                         target,
                         QStringLiteral("move it into %1.").arg(shownPath(m_request.folder))});
    }
}

void FolderChecker::add(FindingKind kind, const QString &path, const QString &text,
                        const Mend &mend)
{
    m_report.findings.append({kind, path, text, mend});
}

FolderReport checkFolder(const FolderCheckRequest &request)
{
    return FolderChecker(request).run();
}

} // namespace kelvane
