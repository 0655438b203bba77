#include "cmxfile.h"

#include "cmxcomposer.h"
#include "newname.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kelvane {

namespace {

constexpr qint64 kMeshBytesRead = 400;

struct ReadResult {
    QByteArray bytes;
    QString error;
};

ReadResult readFile(const QString &path, qint64 maxBytes = -1)
{
    QFile file(path);
    if (!file.exists())
        return {{}, QStringLiteral("%1: the file does not exist.").arg(path)};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("%1: the file cannot be read (%2).").arg(path, file.errorString())};
    ReadResult result;
    result.bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        result.error =
            QStringLiteral("%1: the file cannot be read (%2).").arg(path, file.errorString());
    return result;
}

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
    const ReadResult character = readFile(characterPath);
    if (!character.error.isEmpty())
        return {{}, character.error};
    const ReadResult mesh = readFile(meshPath, kMeshBytesRead);
    if (!mesh.error.isEmpty())
        return {{}, mesh.error};

    ComposeResult composed =
        ComposeAttachedCmx(splitLines(character.bytes), splitLines(mesh.bytes), newName);
    if (composed.ok())
        return {std::move(composed.text), {}};

    const ComposeFailure &failure = *composed.failure;
    switch (failure.input) {
    case ComposeFailure::Input::CharacterFile:
        return {{}, QFileInfo(characterPath).fileName() + QStringLiteral(": ") + failure.reason};
    case ComposeFailure::Input::MeshFile:
        return {{}, QFileInfo(meshPath).fileName() + QStringLiteral(": ") + failure.reason};
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
    file.write(text);
    file.write("\r\n", 2);
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
