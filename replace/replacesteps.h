#pragma once

#include "replace/replace.h"

#include <QString>

class QFile;

namespace kelvane {

// The system's part of a replace (see replace.h): each step one call, which
// the test hook can fail or abandon.

// What the test hook says of the step; Go without a hook.
StepOutcome replaceStep(ReplaceStep step);

// Writes the file's data through to the disk.
bool syncData(QFile &file);

// Makes the names of the folder's entries last, as far as the system allows.
void syncFolder(const QString &folder);

// Keeps the content of file at keep: a hard link when the file system has
// them, a synced copy otherwise.
enum class Kept { Yes, No, Abandoned };
Kept keepContent(const QString &file, const QString &keep);

// Moves from into the place of to, replacing it, in one step.
bool replaceInOneStep(const QString &from, const QString &to);

// Gives the file at from the free name to, never replacing a file that took
// that name meanwhile.
enum class Move {
    Done,
    NameTaken,
    Failed,
    // The file has its new name, but its old one could not be removed.
    OldNameLeft,
    Abandoned,
};
struct Moved {
    Move outcome;
    QString reason; // the system's, for Failed and OldNameLeft
};
Moved moveToFreeName(const QString &from, const QString &to);

} // namespace kelvane
