#pragma once

#include "foldercheck/foldercheck.h"
#include "foldercheck/gamefiles.h"
#include "formats/meshfile.h"

#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace kelvane {

// The kinds of file a check reads, by their names.
enum class SkinFile { Character, Mesh, Texture, Archive, Other };
SkinFile skinFileOf(const QString &fileName);

// The work of one checkFolder: what was listed, and the findings so far.
class FolderChecker final
{
public:
    explicit FolderChecker(const FolderCheckRequest &request);
    FolderReport run();

private:
    struct Outfit {
        QString path;
        QString prefix;  // case-folded
        QByteArray mesh; // its first skin's, case-folded
    };
    enum class Where { Here, GameLoose, Archived, Nowhere };
    struct Found {
        Where where = Where::Nowhere;
        QString path; // a loose file's
    };

    // foldercheck.cpp
    void listFolder();
    void findCaseClashes();
    void findInSubfolders();
    void findSharedPrefixes();
    void findInVirtualStore();
    bool stepDone();

    // filechecks.cpp
    void checkMesh(const QFileInfo &file);
    void checkTexture(const QFileInfo &file);
    void checkArchive(const QFileInfo &file);
    void checkCharacter(const QFileInfo &file);
    // Whether the skin wears the character's own texture (as far as is known).
    bool checkSkinMesh(const QFileInfo &file, const Skin &skin);
    void checkOwnTexture(const QFileInfo &file);
    void checkMeshTexture(const QFileInfo &file, const QByteArray &meshName, const Mesh &mesh);
    Found findFile(const QStringList &fileNames) const;
    std::optional<Mesh> meshAt(const QString &path);

    void add(FindingKind kind, const QString &path, const QString &text, const Mend &mend = {});

    const FolderCheckRequest &m_request;
    FolderReport m_report;
    GameFiles m_game;
    bool m_skinsBuy = false;
    struct TopFile {
        QString name;
        SkinFile kind;
        QFileInfo info;
    };
    QList<TopFile> m_top;           // the folder's own files, by name
    QList<QFileInfo> m_nested;      // files in its subfolders
    QHash<QString, QString> m_here; // case-folded name to path, of the top files
    // The textures' file names by the case-folded first four characters of
    // their names (type letter and ID), which every texture a character
    // wears shares with it.
    QHash<QString, QStringList> m_texturesById;
    QHash<QString, std::optional<Mesh>> m_meshes; // by path, as read
    QList<Outfit> m_outfits;
    qsizetype m_done = 0;
    qsizetype m_total = 0;
};

} // namespace kelvane
