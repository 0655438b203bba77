#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;

namespace kelvane {

class NotesLabel;
class PreviewPicture;
class PreviewScene;

// A character file wearing a mesh (or alone), drawn as the game would pose
// it, turned by the mouse or the arrow keys, in each skin tone and texture
// found, with a head or body put with it if the player chooses. The files
// are read off the window's thread: the window opens at once and fills in
// when they are read; a failure is shown in place of the picture. Nothing
// is written. A small navy dialog over Main, as Help is; Escape closes it.
class PreviewWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewWindow)

public:
    // meshPath empty: the character alone. Either path may name an archive's
    // entry (ARCHIVE.far/ENTRY).
    PreviewWindow(const QString &characterPath, const QString &meshPath, QWidget *parent = nullptr);

    bool loading() const { return m_loading; }

signals:
    // The files were read, or could not be; the window shows which.
    void loadFinished();

private:
    // Reads the scene with withPath put in (none when empty); the first
    // reading also lists what may be put with the character.
    void startLoading(const QString &withPath, bool listCompanions);
    void showTextures();

    QString m_characterPath;
    QString m_meshPath;
    QStringList m_gameFolders;
    PreviewPicture *m_picture;
    QLabel *m_toneCaption;
    QComboBox *m_tones;
    QLabel *m_textureCaption;
    QComboBox *m_textures;
    QLabel *m_withCaption;
    QComboBox *m_with;
    NotesLabel *m_notes;
    std::shared_ptr<const PreviewScene> m_scene;
    int m_generation = 0; // of the reading whose result is awaited
    bool m_loading = true;
};

// Shows a new Preview window modally over parent and returns once the user
// has closed it.
void showPreviewWindow(QWidget *parent, const QString &characterPath, const QString &meshPath);

} // namespace kelvane
