#pragma once

#include <QObject>
#include <QString>

class QTimer;

namespace kelvane {

// Tells a list when the folder it shows changes on disk: an entry added,
// removed or renamed by any program. Changes come in bursts (a copy, an
// unpacked archive); changed() follows each burst once, a moment after it.
// Every list shares one system watch, which keeps starting cheap.
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
    void unwatch();

    QString m_folder;
    QTimer *m_burstEnd;
};

} // namespace kelvane
