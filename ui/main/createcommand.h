#pragma once

#include "compose/attach.h"
#include "controls/messagebox.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace kelvane {

// What the name box shows with several character files selected: this, then
// the suffix; each new file is named as the one of its file alone would be.
inline const QString kEachName = QStringLiteral("*_");

// The values the create command hands to the composer, as read from the
// controls when cmdDoIt is clicked: one character file or several.
struct CreateInputs {
    QString skinDirectory;
    QStringList skinFileNames;
    QString meshDirectory;
    QString meshFileName;
    QString newName;
    QString outputFolder;
    // The games found, for the characters of theirs a new file takes the
    // place of. Asked off the window's thread, so that it may wait for a
    // search still running.
    std::function<QStringList()> gameFolders = {};
};

// Prepares the attach plan of each character file and answers their
// questions, each once for all: asks before attaching a mesh a character file
// already holds (No leaves those files out), when the game would not find
// what the mesh needs (offering to copy the mesh and its texture), and before
// replacing existing files (keeping their old content in backups); then
// carries them out. Faults are shown in a message over window. The files
// written; none when refused or when the user says No or Cancel.
QList<CreatedFile> runCreateCommand(QWidget *window, const CreateInputs &inputs);

// The "File Created" or "Files Created" message for what was created.
Message createdMessage(const QList<CreatedFile> &createdFiles);

// The "File Created" message for created: the new file's name, where the old
// content of a file it replaced is kept, then what was copied for the game
// and what was left alone.
QString createdMessage(const CreatedFile &created);

} // namespace kelvane
