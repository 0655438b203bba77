#pragma once

#include "base/result.h"
#include "preview/renderer.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

namespace kelvane {

// What a preview shows: a character file wearing a mesh, or alone, with
// other character files put with it (a head on a body).
struct PreviewRequest {
    QString characterPath; // a loose file or ARCHIVE.far/ENTRY
    QString meshPath;      // empty: the character alone
    // Every game found, where skeletons, meshes and textures are looked for.
    QStringList gameFolders;
    QStringList withPaths = {}; // loose files or ARCHIVE.far/ENTRY
};

// A character read, posed and ready to be drawn in any of its skin tones.
// Loading reads every file; drawing reads none, so a scene loaded off the
// window's thread is drawn on it.
class PreviewScene final
{
public:
    // The tones of the character's own texture found, in the order lgt, med,
    // drk; empty when none is found (its skin is then drawn light grey).
    QStringList tones() const { return m_tones; }
    // The labels of the character's own textures in tone, in name order, and
    // the one shown first (see game/texturerule.h).
    QStringList labels(const QString &tone) const { return m_labels.value(tone); }
    QString defaultLabel(const QString &tone) const { return m_defaultLabels.value(tone); }
    // The skeleton file the meshes were posed on, as shown; empty when none
    // was found and every mesh is bound to one bone.
    QString skeletonUsed() const { return m_skeletonUsed; }
    // What was not found or not read, and what the game would do, in a
    // player's words.
    QStringList notes() const { return m_notes; }
    // How many triangles a frame draws.
    qsizetype triangles() const { return m_triangles; }

    // The character in tone (one of tones(); any other draws the first, or
    // grey when there is none) and the texture of label (one of labels(tone);
    // any other draws the default), seen as view says.
    QImage render(QSize size, const PreviewView &view, const QString &tone,
                  const QString &label = {}) const;

private:
    friend Result<PreviewScene> loadPreviewScene(const PreviewRequest &request);
    static QString key(const QString &tone, const QString &label);
    QStringList m_tones;
    QHash<QString, QStringList> m_labels;
    QHash<QString, QString> m_defaultLabels;
    QString m_skeletonUsed;
    QStringList m_notes;
    qsizetype m_triangles = 0;
    // One renderer per tone and label (or one when there is no tone), sharing
    // their meshes and nothing mutable, so render() is safe to call from one
    // thread at a time.
    QHash<QString, std::shared_ptr<const PreviewRenderer>> m_renderers;
    std::shared_ptr<const PreviewRenderer> m_first;
};

// Reads the character file, the files put with it, their meshes, textures
// and hands, and the skeleton, found as the game finds them, and poses them:
// on the skeleton whenever it is found. Refused, with a message
// naming the file and the fault, when the character or the mesh cannot be
// read, a mesh or skeleton found is damaged (the game would fail on it too),
// or a skeleton is needed and none is found (naming the skeleton file and
// where it was looked for). Missing meshes and textures are notes only.
Result<PreviewScene> loadPreviewScene(const PreviewRequest &request);

} // namespace kelvane
