#pragma once

#include <QWidget>

class QStringListModel;

namespace kelvane {

class FileListView;

// The files of one folder whose names match a pattern (case-insensitively on
// every system), sorted by name. clicked() follows the user's selection: a
// mouse click on an entry, even the selected one, or a keyboard move.
class FileList final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileList)

public:
    explicit FileList(const QString &pattern, QWidget *parent = nullptr);

    // The folder as last written.
    QString path() const;
    // Lists the folder's files with nothing selected.
    void setPath(const QString &path);
    // The selected entry's name without folder, or empty when none is selected.
    QString fileName() const;
    // Re-reads the folder, keeping the selected entry when its file still exists.
    void refresh();

signals:
    void clicked();

private:
    void readFolder();

    QString m_pattern;
    QString m_path;
    QStringListModel *m_files;
    FileListView *m_view;
};

} // namespace kelvane
