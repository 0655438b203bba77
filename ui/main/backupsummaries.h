#pragma once

#include <QStringList>
#include <QThread>

namespace kelvane {

// Reads what the restore window shows of each backup, one after another off
// the window's thread, each from at most kMaxBytes: a backup may be any file
// that was once named as a character file.
class BackupSummaries final : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackupSummaries)

public:
    // Far more than any character file the game or its players make.
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    explicit BackupSummaries(const QStringList &paths, QObject *parent = nullptr);
    // Waits for the backup being read, no longer.
    ~BackupSummaries() override;

signals:
    // The backup's number of skins, or -1 when they cannot be read; the
    // tooltip lists them or says why.
    void summarized(const QString &path, int skins, const QString &toolTip);

protected:
    void run() override;

private:
    const QStringList m_paths;
};

} // namespace kelvane
