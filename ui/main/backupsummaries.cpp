#include "ui/main/backupsummaries.h"

#include "inputs/filesummary.h"
#include "ui/main/filetooltips.h"

namespace kelvane {

BackupSummaries::BackupSummaries(const QStringList &paths, QObject *parent)
    : QThread(parent), m_paths(paths)
{
}

BackupSummaries::~BackupSummaries()
{
    requestInterruption();
    wait();
}

void BackupSummaries::run()
{
    for (const QString &path : m_paths) {
        if (isInterruptionRequested())
            return;
        const Result<QList<Skin>> skins = summarizeCharacterFile(path, kMaxBytes);
        emit summarized(path, skins.ok() ? int(skins.value().size()) : -1,
                        characterSummaryToolTip(skins));
    }
}

} // namespace kelvane
