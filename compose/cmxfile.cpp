#include "cmxfile.h"

#include "cmxcomposer.h"
#include "inputfiles.h"
#include "newname.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace kelvane {

namespace {

QString folderProblem(const QString &outputPath)
{
    const QFileInfo folder(QFileInfo(outputPath).path());
    if (!folder.exists())
        return QStringLiteral("%1: the output folder does not exist.").arg(folder.filePath());
    if (!folder.isDir())
        return QStringLiteral("%1: the output folder is not a folder.").arg(folder.filePath());
    return {};
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

ComposedFile composeFromFiles(const QString &characterPath, const QString &meshPath,
                              const QString &newName)
{
    const InputBytes character = readCharacterFile(characterPath);
    if (!character.error.isEmpty())
        return {{}, character.error};
    const InputBytes mesh = readMeshFileStart(meshPath);
    if (!mesh.error.isEmpty())
        return {{}, mesh.error};

    ComposeResult composed =
        ComposeAttachedCmx(splitCharacterFile(character.bytes), splitLines(mesh.bytes), newName);
    if (composed.ok())
        return {std::move(composed.text), {}};

    const ComposeFailure &failure = *composed.failure;
    switch (failure.input) {
    case ComposeFailure::Input::CharacterFile:
        return {{}, inputFileFault(characterPath, failure.reason)};
    case ComposeFailure::Input::MeshFile:
        return {{}, inputFileFault(meshPath, failure.reason)};
    case ComposeFailure::Input::NewName:
        break;
    }
    return {{}, failure.reason};
}

QString writeCharacterFile(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1: the file cannot be written (%2).").arg(path, file.errorString());
    // A short write (disk full, file size limit) is not always reported as an
    // error of the device, and commit() may not notice it: the counts and an
    // explicit flush are what tell.
    if (file.write(text) != text.size() || file.write("\r\n", 2) != 2 || !file.flush()) {
        file.cancelWriting();
        return QStringLiteral("%1: the file cannot be written (only part of it could be stored; "
                              "the disk may be full); no file was changed.")
            .arg(path);
    }
    if (!file.commit())
        return QStringLiteral("%1: the file cannot be written (%2).").arg(path, file.errorString());
    return {};
}

CreateResult CreateAttachedCmxFile(const QString &skinDirectory, const QString &skinFileName,
                                   const QString &meshDirectory, const QString &meshFileName,
                                   const QString &newName, const QString &outputFolder)
{
    if (const QString problem = newNameProblem(newName); !problem.isEmpty())
        return {{}, problem};
    const QString outputPath = outputFilePath(outputFolder, newName);
    if (const QString problem = folderProblem(outputPath); !problem.isEmpty())
        return {{}, problem};

    const ComposedFile composed =
        composeFromFiles(inputFilePath(skinDirectory, skinFileName),
                         inputFilePath(meshDirectory, meshFileName), newName);
    if (!composed.ok())
        return {{}, composed.error};
    if (const QString problem = writeCharacterFile(outputPath, composed.text); !problem.isEmpty())
        return {{}, problem};
    return {outputPath, {}};
}

} // namespace kelvane
