#pragma once

#include <QDialog>

class QComboBox;
class QLabel;

namespace kelvane {

class NotesLabel;
class PreviewPicture;

// A character file wearing a mesh (or alone), drawn as the game would pose
// it, turned by the mouse or the arrow keys, in each skin tone found. The
// files are read off the window's thread: the window opens at once and fills
// in when they are read; a failure is shown in place of the picture. Nothing
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
    void startLoading(const QString &characterPath, const QString &meshPath);

    PreviewPicture *m_picture;
    QLabel *m_toneCaption;
    QComboBox *m_tones;
    NotesLabel *m_notes;
    bool m_loading = true;
};

// Shows a new Preview window modally over parent and returns once the user
// has closed it.
void showPreviewWindow(QWidget *parent, const QString &characterPath, const QString &meshPath);

} // namespace kelvane
