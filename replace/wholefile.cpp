#include "replace/wholefile.h"

#include "base/messagetext.h"
#include "replace/leftovers.h"
#include "replace/replacesteps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifndef Q_OS_WIN
#include <cerrno>
#endif

namespace kelvane {

QString cannotWriteText(const QString &path, const QString &reason)
{
    return QStringLiteral("%1: the file cannot be written (%2).").arg(shownName(path), reason);
}

QString programFilesAdvice(const QString &path)
{
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    for (const char *variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString folder = QDir::toNativeSeparators(qEnvironmentVariable(variable));
        if (!folder.isEmpty() && native.startsWith(folder + QLatin1Char('\\'), Qt::CaseInsensitive))
            return QStringLiteral(" Windows lets only administrators change files in %1: start "
                                  "Kelvane as administrator (right-click it, then \"Run as "
                                  "administrator\"), or write into another folder.")
                .arg(folder);
    }
#else
    Q_UNUSED(path);
#endif
    return {};
}

Result<void> writeSyncedNewFile(const QString &path, const QByteArray &bytes,
                                const QString &shownPath)
{
    const auto interrupted = [&] {
        return Failure{cannotWriteText(shownPath, QStringLiteral("the replace was interrupted"))};
    };
    const StepOutcome writing = replaceStep(ReplaceStep::WriteNew);
    if (writing == StepOutcome::Abandon)
        return interrupted();
    QFile file(path);
    if (writing == StepOutcome::Fail || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Failure{cannotWriteText(shownPath, file.errorString()) +
                       programFilesAdvice(shownPath)};
    // A short write (disk full, file size limit) is not always reported as an
    // error of the device: the count is what tells; a buffered one fails only
    // when flushed.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.close();
        file.remove();
        return Failure{cannotWriteText(shownPath, QStringLiteral("only part of it could be "
                                                                 "stored; the disk may be full; "
                                                                 "no file was changed"))};
    }
    const StepOutcome syncing = replaceStep(ReplaceStep::SyncNew);
    if (syncing == StepOutcome::Abandon)
        return interrupted();
    if (syncing == StepOutcome::Fail || !syncData(file)) {
        file.close();
        file.remove();
        return Failure{cannotWriteText(shownPath, QStringLiteral("it could not be stored safely "
                                                                 "on the disk; no file was "
                                                                 "changed"))};
    }
    return {};
}

Result<void> writeWholeFile(const QString &path, const QByteArray &bytes)
{
    const QString id = QString::number(QRandomGenerator::global()->generate(), 36);
    const QString newPath = newContentPath(path, id);
    if (const Result<void> written = writeSyncedNewFile(newPath, bytes, path); !written.ok())
        return written;
    if (const QFileInfo old(path); old.exists())
        QFile::setPermissions(newPath, old.permissions());
    const StepOutcome placing = replaceStep(ReplaceStep::PutInPlace);
    if (placing == StepOutcome::Abandon)
        return Failure{cannotWriteText(path, QStringLiteral("the replace was interrupted"))};
    if (placing == StepOutcome::Fail || !replaceInOneStep(newPath, path)) {
#ifdef Q_OS_WIN
        const QString reason = QStringLiteral("the system refused to give it its name");
#else
        const QString reason = placing == StepOutcome::Fail ? QStringLiteral("the system refused")
                                                            : qt_error_string(errno);
#endif
        QFile::remove(newPath);
        return Failure{cannotWriteText(path, reason + QStringLiteral("; no file was changed")) +
                       programFilesAdvice(path)};
    }
    syncFolder(QFileInfo(path).absolutePath());
    return {};
}

} // namespace kelvane
