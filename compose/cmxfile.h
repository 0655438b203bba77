#pragma once

#include "compose/outputfile.h"
#include "compose/result.h"

#include <QByteArray>
#include <QString>

namespace kelvane {

// The path of an input file: the folder, a separator (always, even after a
// folder ending in one, which every file system accepts), the file name.
QString inputFilePath(const QString &folder, const QString &fileName);

// The path of the new character file: the folder, a separator only when the
// folder does not end in one, the new name and ".cmx".
QString outputFilePath(const QString &outputFolder, const QString &newName);

// Reads the character file as far as composing uses it and the first 400 bytes
// of the mesh file, and composes the new character file from them. A failure
// says which file is at fault and why.
Result<QByteArray> composeFromFiles(const QString &characterPath, const QString &meshPath,
                                    const QString &newName);

// How CreateAttachedCmxFile replaces an existing file.
struct CreateOptions {
    Backup backup = Backup::Keep;
};

// What CreateAttachedCmxFile wrote.
struct CreatedFile {
    QString path;       // the new character file
    QString backupPath; // where the replaced file's old content is kept; empty when none
};

// Reads both inputs and writes the new character file into outputFolder under
// newName with ".cmx" appended, replacing a file of that name (keeping its old
// content as backupPathFor says, unless told otherwise). Nothing is written
// unless every input is sound; an empty output folder is refused.
Result<CreatedFile> CreateAttachedCmxFile(const QString &skinDirectory, const QString &skinFileName,
                                          const QString &meshDirectory, const QString &meshFileName,
                                          const QString &newName, const QString &outputFolder,
                                          const CreateOptions &options = {});

} // namespace kelvane
