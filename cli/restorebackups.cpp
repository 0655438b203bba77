#include "cli/restorebackups.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "cli/attachjob.h"
#include "cli/consoleoutput.h"
#include "game/gamecharacters.h"
#include "replace/backup.h"
#include "replace/outputfile.h"
#include "replace/restore.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace kelvane {

namespace {

const QString kProgram = QStringLiteral("kelvane-attach: ");

QString restoredNote(const Restored &restored)
{
    const QString name = shownName(QFileInfo(restored.path).fileName());
    const QString from = shownBackupName(restored.backupPath, restored.path);
    if (restored.keptAs.isEmpty())
        return QStringLiteral("%1: restored from %2.").arg(name, from);
    return QStringLiteral("%1: restored from %2; its previous content is kept as %3.")
        .arg(name, from, shownBackupName(restored.keptAs, restored.path));
}

QString putBackNote(const PutBack &putBack)
{
    QString text = QStringLiteral("%1: the game's own character is back (from %2); the file's "
                                  "content is kept as %3.")
                       .arg(shownName(QFileInfo(putBack.path).fileName()),
                            shownName(QDir::toNativeSeparators(putBack.character.archive)),
                            shownBackupName(putBack.keptAs, putBack.path));
    for (const PutBack::Twin &twin : putBack.twins)
        text += QStringLiteral(" %1, whose name differs only in case, took its place too; it is "
                               "kept as %2.")
                    .arg(shownName(QFileInfo(twin.path).fileName()),
                         shownBackupName(twin.keptAs, twin.path));
    return text;
}

bool putsBackGameOwn(const QString &file, Restoring how)
{
    return how == Restoring::GameOwn ||
           (backupsOf(file).isEmpty() && gameCharacterReplacedBy(file).has_value());
}

} // namespace

int restoreBackups(const QStringList &files, ConsoleOutput &console, Restoring how)
{
    // A second restore of one file would undo the first.
    QSet<QString> restoredFiles;
    int exitCode = kExitSuccess;
    for (const QString &given : files) {
        const QString backup =
            how == Restoring::GameOwn || fileOfBackup(given).isEmpty() ? QString() : given;
        const QString file = backup.isEmpty() ? given : fileOfBackup(given);
        const QString identity = fileIdentity(replacedFilePath(file));
        if (!identity.isEmpty() && restoredFiles.contains(identity)) {
            console.printError(kProgram + QStringLiteral("%1: skipped; this run has already "
                                                         "restored %2.")
                                              .arg(shownName(given), shownName(file)));
            exitCode = kExitFailure;
            continue;
        }
        // A replace interrupted after its new content took its place left the
        // old content under a temporary name: it becomes a backup first.
        for (const QString &settled : settleLeftoversOf(file))
            console.printError(kProgram + QStringLiteral("note: ") + settled);
        if (backup.isEmpty() && putsBackGameOwn(file, how)) {
            const Result<PutBack> putBack = putBackGameCharacter(file);
            if (!putBack.ok()) {
                console.printError(kProgram + putBack.error());
                exitCode = kExitFailure;
                continue;
            }
            restoredFiles.insert(identity);
            console.printLine(shownName(QDir::toNativeSeparators(file)));
            console.printError(kProgram + QStringLiteral("note: ") + putBackNote(putBack.value()));
            continue;
        }
        const Result<Restored> restored =
            backup.isEmpty() ? restoreNewestBackup(file) : restoreBackup(file, backup);
        if (!restored.ok()) {
            console.printError(kProgram + restored.error());
            exitCode = kExitFailure;
            continue;
        }
        restoredFiles.insert(identity);
        for (const QString &settled : restored.value().settled)
            console.printError(kProgram + QStringLiteral("note: ") + settled);
        console.printLine(shownName(QDir::toNativeSeparators(restored.value().path)));
        console.printError(kProgram + QStringLiteral("note: ") + restoredNote(restored.value()));
    }
    return exitCode;
}

} // namespace kelvane
