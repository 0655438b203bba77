#include "ui/main/restorecommand.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "controls/messagebox.h"
#include "replace/backup.h"

#include <QFileInfo>

namespace kelvane {

namespace {

void showError(QWidget *window, const QString &text)
{
    showMessage(window, {text, MessageStyle::Exclamation, QStringLiteral("Error")});
}

// Asks before the file's content is replaced, naming where it will be kept.
bool mayRestore(QWidget *window, const QString &path, const BackupFile &backup)
{
    QString text = QStringLiteral("Put the content of %1 (saved %2) back into %3?")
                       .arg(shownBackupName(backup.path, path), shownTime(backup.modified),
                            shownName(QFileInfo(path).fileName()));
    if (fileKindOf(path) == FileKind::Regular)
        text += QStringLiteral("\n\nIts current content will be kept as %1.")
                    .arg(shownBackupName(backupPathFor(path), path));
    return showMessage(window, yesNoQuestion(QStringLiteral("Restore Previous Version"), text)) ==
           MessageButton::Yes;
}

bool mayPutBack(QWidget *window, const QString &path, const GameCharacter &character)
{
    const QString name = shownName(QFileInfo(path).fileName());
    QString moved = QStringLiteral("%1 will be moved to %2")
                        .arg(name, shownBackupName(putBackPathFor(path), path));
    for (const QString &twin : caseTwinsOf(path))
        moved += QStringLiteral(", and %1, whose name differs only in case, to %2")
                     .arg(shownName(QFileInfo(twin).fileName()),
                          shownBackupName(putBackPathFor(twin), twin));
    const QString text =
        QStringLiteral("Put the game's own %1 from %2 back in place of %3?\n\n%4, so the game "
                       "loads its own again. Nothing is deleted.")
            .arg(shownName(character.name), shownName(QFileInfo(character.archive).fileName()),
                 name, moved);
    return showMessage(window, yesNoQuestion(QStringLiteral("Restore Previous Version"), text)) ==
           MessageButton::Yes;
}

} // namespace

QString shownTime(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool runRestoreCommand(QWidget *window, const QString &path, const BackupFile &backup)
{
    if (fileKindOf(path) == FileKind::Regular && backupPathFor(path).isEmpty()) {
        showError(window, noFreeBackupName(replacedFilePath(path)));
        return false;
    }
    if (!mayRestore(window, path, backup))
        return false;
    const Result<Restored> restored = restoreBackup(path, backup.path);
    if (!restored.ok()) {
        showError(window, restored.error());
        return false;
    }
    showMessage(window, {restoredMessage(restored.value()), MessageStyle::Plain,
                         QStringLiteral("File Restored")});
    return true;
}

bool runPutBackCommand(QWidget *window, const QString &path, const GameCharacter &character)
{
    if (putBackPathFor(path).isEmpty()) {
        showError(window, noFreeBackupName(path));
        return false;
    }
    if (!mayPutBack(window, path, character))
        return false;
    const Result<PutBack> putBack = putBackGameCharacter(path);
    if (!putBack.ok()) {
        showError(window, putBack.error());
        return false;
    }
    QString text =
        QStringLiteral("The game's own %1 is back (from %2).\nThe content of %3 is "
                       "kept as %4.")
            .arg(shownName(character.name), shownName(QFileInfo(character.archive).fileName()),
                 shownName(QFileInfo(path).fileName()),
                 shownBackupName(putBack.value().keptAs, path));
    for (const PutBack::Twin &twin : putBack.value().twins)
        text += QStringLiteral("\nThe content of %1 is kept as %2.")
                    .arg(shownName(QFileInfo(twin.path).fileName()),
                         shownBackupName(twin.keptAs, twin.path));
    showMessage(window, {text, MessageStyle::Plain, QStringLiteral("File Restored")});
    return true;
}

QString restoredMessage(const Restored &restored)
{
    QString text = QStringLiteral("%1 has been restored from %2")
                       .arg(shownName(QFileInfo(restored.path).fileName()),
                            shownBackupName(restored.backupPath, restored.path));
    if (!restored.keptAs.isEmpty())
        text += QStringLiteral("\nIts previous content is kept as %1.")
                    .arg(shownBackupName(restored.keptAs, restored.path));
    for (const QString &settled : restored.settled)
        text += QStringLiteral("\n\n") + settled;
    return text;
}

} // namespace kelvane
