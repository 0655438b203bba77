#pragma once

#include <QWidget>

#include <functional>

class QHelpEvent;
class QStringListModel;

namespace kelvane {

class FileListView;

// The files of one folder whose names match a pattern (case-insensitively on
// every system), sorted by name. fileChosen() follows the user's choice of an
// entry: a mouse click on one, even the selected one, or a keyboard move.
// An optional provider gives the tooltip of the entry the pointer rests on.
class FileList final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileList)

public:
    // The tooltip text for the file at filePath (its native full path).
    using ToolTipProvider = std::function<QString(const QString &filePath)>;

    explicit FileList(const QString &pattern, QWidget *parent = nullptr);

    // The folder as last written.
    QString path() const;
    // Lists the folder's files with nothing selected.
    void setPath(const QString &path);
    // The selected entry's name without folder, or empty when none is selected.
    QString fileName() const;
    // Re-reads the folder, keeping the selected entry when its file still exists.
    void refresh();
    // Asked only when the pointer comes to rest on an entry, so that no file
    // is read while a folder is listed.
    void setToolTipProvider(ToolTipProvider provider);

signals:
    void fileChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readFolder();
    void showToolTip(const QHelpEvent &event);

    QString m_pattern;
    QString m_path;
    QStringListModel *m_files;
    FileListView *m_view;
    ToolTipProvider m_toolTipProvider;
};

} // namespace kelvane
