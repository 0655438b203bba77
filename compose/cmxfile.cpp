#include "compose/cmxfile.h"

#include "compose/cmxcomposer.h"
#include "compose/inputfiles.h"
#include "compose/newname.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace kelvane {

namespace {

Result<void> checkOutputFolder(const QString &outputPath)
{
    const QFileInfo folder(QFileInfo(outputPath).path());
    if (!folder.exists())
        return Failure{
            QStringLiteral("%1: the output folder does not exist.").arg(folder.filePath())};
    if (!folder.isDir())
        return Failure{
            QStringLiteral("%1: the output folder is not a folder.").arg(folder.filePath())};
    return {};
}

// Reads both inputs and composes the new file from them; a failure names the
// file at fault. newName is the name as typed or one already checked.
template <class Name>
Result<QByteArray> composeInputs(const QString &characterPath, const QString &meshPath,
                                 const Name &newName)
{
    const Result<QByteArray> character = readCharacterFile(characterPath);
    if (!character.ok())
        return Failure{character.error()};
    const Result<QByteArray> mesh = readMeshFileStart(meshPath);
    if (!mesh.ok())
        return Failure{mesh.error()};

    const ComposeResult composed = ComposeAttachedCmx(splitCharacterFile(character.value()),
                                                      splitLines(mesh.value()), newName);
    if (composed.ok())
        return composed.value();
    const ComposeFailure &failure = composed.error();
    switch (failure.input) {
    case ComposeFailure::Input::CharacterFile:
        return Failure{inputFileFault(characterPath, failure.reason)};
    case ComposeFailure::Input::MeshFile:
        return Failure{inputFileFault(meshPath, failure.reason)};
    case ComposeFailure::Input::NewName:
        break;
    }
    return Failure{failure.reason};
}

} // namespace

QString inputFilePath(const QString &folder, const QString &fileName)
{
    return folder + QDir::separator() + fileName;
}

QString outputFilePath(const QString &outputFolder, const QString &newName)
{
    const QString file = newName + QStringLiteral(".cmx");
    if (outputFolder.endsWith(QDir::separator()))
        return outputFolder + file;
    return outputFolder + QDir::separator() + file;
}

Result<QByteArray> composeFromFiles(const QString &characterPath, const QString &meshPath,
                                    const QString &newName)
{
    return composeInputs(characterPath, meshPath, newName);
}

Result<void> writeCharacterFile(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{
            QStringLiteral("%1: the file cannot be written (%2).").arg(path, file.errorString())};
    // A short write (disk full, file size limit) is not always reported as an
    // error of the device, and commit() may not notice it: the counts and an
    // explicit flush are what tell.
    if (file.write(text) != text.size() || file.write("\r\n", 2) != 2 || !file.flush()) {
        file.cancelWriting();
        return Failure{QStringLiteral("%1: the file cannot be written (only part of it could be "
                                      "stored; the disk may be full); no file was changed.")
                           .arg(path)};
    }
    if (!file.commit())
        return Failure{
            QStringLiteral("%1: the file cannot be written (%2).").arg(path, file.errorString())};
    return {};
}

Result<QString> CreateAttachedCmxFile(const QString &skinDirectory, const QString &skinFileName,
                                      const QString &meshDirectory, const QString &meshFileName,
                                      const QString &newName, const QString &outputFolder)
{
    // The name is checked first: it decides the output path checked next.
    const Result<NewName> name = checkNewName(newName);
    if (!name.ok())
        return Failure{name.error()};
    const QString outputPath = outputFilePath(outputFolder, newName);
    if (const Result<void> folder = checkOutputFolder(outputPath); !folder.ok())
        return Failure{folder.error()};

    const Result<QByteArray> composed =
        composeInputs(inputFilePath(skinDirectory, skinFileName),
                      inputFilePath(meshDirectory, meshFileName), name.value());
    if (!composed.ok())
        return Failure{composed.error()};
    if (const Result<void> written = writeCharacterFile(outputPath, composed.value());
        !written.ok())
        return Failure{written.error()};
    return outputPath;
}

} // namespace kelvane
