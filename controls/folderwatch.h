#pragma once

#include <QObject>
#include <QStringList>

class QTimer;

namespace kelvane {

// Tells a list when the folder it shows changes on disk: an entry added,
// removed or renamed by any program. A folder inside a FAR archive changes
// with the archive: rewritten, replaced or removed. Changes come in bursts (a
// copy, an unpacked archive); changed() follows each burst once, a moment
// after it. Every list shares one system watch, which keeps starting cheap.
class FolderWatch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderWatch)

public:
    explicit FolderWatch(QObject *parent = nullptr);
    ~FolderWatch() override;

    // Watches folder instead of the folder watched so far; an empty or
    // missing folder is not watched.
    void watch(const QString &folder);

signals:
    void changed();

private:
    void add(const QString &path);
    void rewatchReplaced();
    void unwatch();

    // The folder, or the archive and the folder holding it.
    QStringList m_paths;
    QTimer *m_burstEnd;
};

} // namespace kelvane
