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
// Far above any character file the game can load (32767 skins of long names),
// low enough that a wrong file picked by mistake is not read into memory.
constexpr qint64 kMaxCharacterFileBytes = 64 * 1024 * 1024;

struct ReadResult {
    QByteArray bytes;
    QString error;
};

// Reads until EOF or limit bytes, in pieces, so that pipes read whole too.
ReadResult readUpTo(QFile &file, qint64 limit)
{
    constexpr qint64 kPiece = 64 * 1024;
    ReadResult result;
    while (result.bytes.size() < limit) {
        const QByteArray piece = file.read(qMin(kPiece, limit - result.bytes.size()));
        if (piece.isEmpty())
            break;
        result.bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        result.error = QStringLiteral("%1: the file cannot be read (%2).")
                           .arg(file.fileName(), file.errorString());
    return result;
}

ReadResult openFailure(const QFile &file)
{
    if (!file.exists())
        return {{}, QStringLiteral("%1: the file does not exist.").arg(file.fileName())};
    return {{}, QStringLiteral("%1: the file cannot be read (%2).")
                    .arg(file.fileName(), file.errorString())};
}

ReadResult readCharacterFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return openFailure(file);
    const bool knownTooLarge = !file.isSequential() && file.size() > kMaxCharacterFileBytes;
    ReadResult result;
    if (!knownTooLarge)
        result = readUpTo(file, kMaxCharacterFileBytes + 1);
    if (knownTooLarge || result.bytes.size() > kMaxCharacterFileBytes)
        return {{}, QStringLiteral("%1: the file is larger than %2 MB, far larger than any "
                                   "character file; it cannot be one.")
                        .arg(path)
                        .arg(kMaxCharacterFileBytes / (1024 * 1024))};
    return result;
}

ReadResult readMeshFileStart(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return openFailure(file);
    return readUpTo(file, kMeshBytesRead);
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
    const ReadResult character = readCharacterFile(characterPath);
    if (!character.error.isEmpty())
        return {{}, character.error};
    const ReadResult mesh = readMeshFileStart(meshPath);
    if (!mesh.error.isEmpty())
        return {{}, mesh.error};

    ComposeResult composed =
        ComposeAttachedCmx(splitCharacterFile(character.bytes), splitLines(mesh.bytes), newName);
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
