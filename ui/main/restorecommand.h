#pragma once

#include "game/gamecharacters.h"
#include "replace/restore.h"

#include <QString>

class QWidget;

namespace kelvane {

// How the window shows when a backup was kept: date and time to the second.
QString shownTime(const QDateTime &time);

// Asks whether to put the content of backup back into the character file at
// path, then does it, keeping the file's content until then as a backup, and
// says what was done. Faults are shown in a message over window. Whether the
// file was restored; false too when the user says No.
bool runRestoreCommand(QWidget *window, const QString &path, const BackupFile &backup);

// Asks whether to put the game's own character back in place of the loose
// file at path, then moves that file to its next free backup name and says
// where it went. Whether the game's own is back; false too on No.
bool runPutBackCommand(QWidget *window, const QString &path, const GameCharacter &character);

// The "File Restored" message: the file and the backup restored, then where
// the file's content until then is kept and what settling an interrupted
// replace did.
QString restoredMessage(const Restored &restored);

} // namespace kelvane
