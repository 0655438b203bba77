#pragma once

#include "compose/result.h"
#include "preview/renderer.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

namespace kelvane {

// What a preview shows: a character file wearing a mesh, or alone.
struct PreviewRequest {
    QString characterPath; // a loose file or ARCHIVE.far/ENTRY
    QString meshPath;      // empty: the character alone
    QStringList
        gameFolders; // every game found, where skeletons, meshes and textures are looked for
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
    // The skeleton file the meshes were posed on, as shown; empty when every
    // mesh is bound to one bone and none was needed.
    QString skeletonUsed() const { return m_skeletonUsed; }
    // What was not found or not read, and what the game would do, in a
    // player's words.
    QStringList notes() const { return m_notes; }

    // The character in tone (one of tones(); any other draws the first, or
    // grey when there is none), seen as view says.
    QImage render(QSize size, const PreviewView &view, const QString &tone) const;

private:
    friend Result<PreviewScene> loadPreviewScene(const PreviewRequest &request);
    QStringList m_tones;
    QString m_skeletonUsed;
    QStringList m_notes;
    // One renderer per tone (or one when there is no tone), sharing nothing
    // mutable, so render() is safe to call from one thread at a time.
    QList<std::shared_ptr<const PreviewRenderer>> m_renderers;
};

// Reads the character file, its meshes, their textures and the skeleton they
// need, found as the game finds them, and poses them. Refused, with a message
// naming the file and the fault, when the character or the mesh cannot be
// read, a mesh or skeleton found is damaged (the game would fail on it too),
// or a skeleton is needed and none is found (naming the skeleton file and
// where it was looked for). Missing meshes and textures are notes only.
Result<PreviewScene> loadPreviewScene(const PreviewRequest &request);

} // namespace kelvane
