#pragma once

#include <QByteArray>
#include <QString>

namespace kelvane {

// The path of an input file: the folder, a separator (always, even after a
// folder ending in one, which every file system accepts), the file name.
QString inputFilePath(const QString &folder, const QString &fileName);

// The path of the new character file: the folder, a separator only when the
// folder does not end in one, the new name and ".cmx".
QString outputFilePath(const QString &outputFolder, const QString &newName);

// The composed text, or a message saying which file is at fault and why.
struct ComposedFile {
    QByteArray text;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads the character file as far as composing uses it and the first 400 bytes
// of the mesh file, and composes the new character file from them.
ComposedFile composeFromFiles(const QString &characterPath, const QString &meshPath,
                              const QString &newName);

// Replaces the file at path, atomically, by text followed by CR LF. Returns
// an empty string on success, otherwise what went wrong; the file at path is
// then as it was before.
QString writeCharacterFile(const QString &path, const QByteArray &text);

// The path written, or why nothing was written.
struct CreateResult {
    QString outputPath;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads both inputs and writes the new character file into outputFolder under
// newName with ".cmx" appended, replacing a file of that name. Nothing is
// written unless every input is sound.
CreateResult CreateAttachedCmxFile(const QString &skinDirectory, const QString &skinFileName,
                                   const QString &meshDirectory, const QString &meshFileName,
                                   const QString &newName, const QString &outputFolder);

} // namespace kelvane
