#include "compose/cmxfile.h"

#include "compose/cmxcomposer.h"
#include "compose/filekind.h"
#include "compose/inputfiles.h"
#include "compose/newname.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

// Reads both inputs and composes the new file from them; a failure names the
// file at fault. newName is the name as typed or one already checked.
template <class Name>
Result<QByteArray> composeInputs(const QString &characterPath, const QString &meshPath,
                                 const Name &newName)
{
    const QString characterIdentity = fileIdentity(characterPath);
    if (!characterIdentity.isEmpty() && characterIdentity == fileIdentity(meshPath))
        return Failure{inputFileFault(meshPath, QStringLiteral("the same file is given as the "
                                                               "character file and as the mesh "
                                                               "file."))};
    const Result<QByteArray> character = readCharacterFile(characterPath);
    if (!character.ok())
        return Failure{character.error()};
    const Result<QByteArray> mesh = readMeshFileStart(meshPath);
    if (!mesh.ok())
        return Failure{mesh.error()};

    const ComposeResult composed = ComposeAttachedCmx(splitCharacterFile(character.value()),
                                                      splitMeshStart(mesh.value()), newName);
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

Result<CreatedFile> CreateAttachedCmxFile(const QString &skinDirectory, const QString &skinFileName,
                                          const QString &meshDirectory, const QString &meshFileName,
                                          const QString &newName, const QString &outputFolder,
                                          const CreateOptions &options)
{
    // The inputs are checked first, since the name is often proposed from the
    // character file's; the name decides the output path checked next.
    const QString characterPath = inputFilePath(skinDirectory, skinFileName);
    const QString meshPath = inputFilePath(meshDirectory, meshFileName);
    for (const QString &input : {characterPath, meshPath}) {
        if (const Result<void> checked = checkInputFile(input); !checked.ok())
            return Failure{checked.error()};
    }
    const Result<NewName> name = checkNewName(newName);
    if (!name.ok())
        return Failure{name.error()};
    if (outputFolder.isEmpty())
        return Failure{QStringLiteral("No folder to write into is given; type the full path of a "
                                      "folder.")};
    const QString outputPath = outputFilePath(outputFolder, newName);
    if (const Result<void> output = checkOutputPath(outputPath); !output.ok())
        return Failure{output.error()};

    const Result<QByteArray> composed = composeInputs(characterPath, meshPath, name.value());
    if (!composed.ok())
        return Failure{composed.error()};
    const Result<QString> written =
        writeCharacterFile(outputPath, composed.value(), options.backup);
    if (!written.ok())
        return Failure{written.error()};
    return CreatedFile{outputPath, written.value()};
}

} // namespace kelvane
