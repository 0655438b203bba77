#include "compose/attach.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "compose/newname.h"
#include "formats/characterformat.h"
#include "formats/fileformats.h"
#include "formats/meshfile.h"
#include "game/gamecharacters.h"
#include "game/gamelayout.h"
#include "inputs/archivepath.h"
#include "inputs/filesummary.h"
#include "inputs/inputfiles.h"
#include "replace/backup.h"
#include "replace/replacelock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace kelvane {

namespace {

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

QString outputFilePath(const QString &outputFolder, const QString &newName, CharacterFormat format)
{
    const QString file = newName + characterExtension(format);
    if (outputFolder.endsWith(QDir::separator()))
        return outputFolder + file;
    return outputFolder + QDir::separator() + file;
}

QString proposedOutputFolder(const QString &folder)
{
    if (const std::optional<ArchivePath> inside = archivePathOf(folder))
        return skinsFolderNearArchive(inside->archive);
    return folder;
}

Result<Composed> composeFromFiles(const QString &characterPath, const QString &meshPath,
                                  const QString &typedName)
{
    const QString newName = withoutCharacterExtension(typedName);
    const Result<NewName> name = checkNewName(newName);
    if (!name.ok())
        return Failure{name.error()};
    const Result<InputFile> characterFile = findInputFile(characterPath);
    if (!characterFile.ok())
        return Failure{characterFile.error()};
    const Result<InputFile> meshFile = findInputFile(meshPath);
    if (!meshFile.ok())
        return Failure{meshFile.error()};
    const QString characterIdentity = inputIdentity(characterFile.value());
    if (!characterIdentity.isEmpty() && characterIdentity == inputIdentity(meshFile.value()))
        return Failure{inputFileFault(meshPath, QStringLiteral("the same file is given as the "
                                                               "character file and as the mesh "
                                                               "file."))};
    Result<CharacterRead> read = readCharacter(characterFile.value());
    if (!read.ok())
        return Failure{read.error()};
    const Result<Mesh> mesh = readMeshFile(meshFile.value());
    if (!mesh.ok())
        return Failure{mesh.error()};

    const QByteArray characterBytes = read.value().bytes;
    Character character = std::move(read).value().character;
    const Skin attached = mesh.value().skin();
    const bool held = holdsSkin(character.skins, attached);
    if (character.format == CharacterFormat::Binary) {
        const Result<NewName> stored = checkNewName(newName, characterExtension(character.format));
        if (!stored.ok())
            return Failure{stored.error()};
    }
    character.name = name.value().text().toLatin1();
    character.skins.append(attached);
    if (const std::optional<QString> fault = unstorableName(character))
        return Failure{inputFileFault(meshPath, *fault)};
    Composed composed{character.format, fileBytesOf(character), attached, held, mesh.value(), {}};
    composed.characterHash = hashOf(characterBytes);
    return composed;
}

void addGameCheck(AttachPlan &plan, const GameCheck &folderCheck, const QStringList &gameFolders)
{
    plan.gameCheck = folderCheck;
    const QFileInfo output(plan.outputPath);
    if (const std::optional<GameCharacter> own =
            gameCharacterNamed(output.fileName(), gamesCovering(output.path(), gameFolders))) {
        plan.gameCheck.found.append({takesThePlaceText(*own), MendedBy::Nothing});
        plan.takesThePlaceOf = own;
    }
}

Result<AttachPlan> prepareWithoutGameCheck(const AttachInputs &typed)
{
    AttachInputs in = typed;
    in.newName = withoutCharacterExtension(typed.newName);
    // The inputs are checked first, since the name is often proposed from the
    // character file's; the name decides the output path checked next.
    for (const QString &input : {in.characterPath, in.meshPath}) {
        if (const Result<void> checked = checkInputFile(input); !checked.ok())
            return Failure{checked.error()};
    }
    if (const Result<NewName> name = checkNewName(in.newName); !name.ok())
        return Failure{name.error()};
    if (in.outputFolder.isEmpty())
        return Failure{QStringLiteral("No folder to write into is given; type the full path of a "
                                      "folder.")};
    if (const std::optional<ArchivePath> inside = archivePathOf(in.outputFolder))
        return Failure{QStringLiteral("%1: this folder is inside the archive %2, and nothing is "
                                      "ever written into an archive; choose a folder outside it.")
                           .arg(shownName(in.outputFolder), shownName(inside->archive))};
    // The text format's output path is checked before reading, as always; the
    // binary one once the format is known.
    const QString textOutput = outputFilePath(in.outputFolder, in.newName);
    if (const Result<void> output = checkOutputPath(textOutput); !output.ok())
        return Failure{output.error()};

    Result<Composed> composed = composeFromFiles(in.characterPath, in.meshPath, in.newName);
    if (!composed.ok())
        return Failure{composed.error()};
    AttachPlan attachment;
    static_cast<Composed &>(attachment) = std::move(composed).value();
    attachment.characterPath = in.characterPath;
    attachment.meshPath = in.meshPath;
    // A file whose name differs only in case is the one the game would load:
    // it is the file replaced, and keeps its name.
    const QFileInfo output(outputFilePath(in.outputFolder, in.newName, attachment.format));
    const QString onDisk = entryNamedIn(output.path(), output.fileName());
    attachment.outputPath = QDir::toNativeSeparators(onDisk.isEmpty() ? output.filePath() : onDisk);
    if (attachment.outputPath != textOutput)
        if (const Result<void> output = checkOutputPath(attachment.outputPath); !output.ok())
            return Failure{output.error()};
    attachment.replacesFile = fileKindOf(attachment.outputPath) == FileKind::Regular;
    if (attachment.replacesFile) {
        if (const Result<void> replaceable = checkReplaceable(attachment.outputPath);
            !replaceable.ok())
            return Failure{replaceable.error()};
        attachment.backupPath = backupPathFor(attachment.outputPath);
    }
    return attachment;
}

bool changedSinceRead(const AttachPlan &plan)
{
    if (!plan.replacesFile || archivePathOf(plan.characterPath) ||
        fileIdentity(plan.outputPath) != fileIdentity(plan.characterPath))
        return false;
    const Result<QByteArray> now = readCharacterFile(plan.characterPath);
    return !now.ok() || hashOf(now.value()) != plan.characterHash;
}

Result<CreatedFile> carryOut(const AttachPlan &plan, const AttachChoices &choices)
{
    const QString replaced = replacedFilePath(plan.outputPath);
    std::optional<ReplaceLock> lock;
    if (!replaced.isEmpty()) {
        lock.emplace(replaced);
        if (!lock->refusal().isEmpty())
            return Failure{lock->refusal()};
    }
    if (changedSinceRead(plan))
        return Failure{QStringLiteral("%1: not replaced: it changed after it was read, and "
                                      "replacing it would lose that change; nothing was "
                                      "written. Try again.")
                           .arg(shownName(QDir::toNativeSeparators(plan.characterPath)))};
    CreatedFile created;
    if (choices.copies != Copies::Offered) {
        created.copies =
            copyForTheGame(plan.gameCheck.copies, choices.copies, choices.convertTexture);
        if (!created.copies.failures.isEmpty())
            return Failure{created.copies.failures.join(QLatin1Char(' ')) +
                           QStringLiteral(" %1 was not written, since the game would not find "
                                          "what it names.")
                               .arg(shownName(QDir::toNativeSeparators(plan.outputPath)))};
    }
    const Result<Replaced> written =
        writeCharacterFile(plan.outputPath, plan.bytes, choices.backup);
    if (!written.ok())
        return Failure{written.error()};
    created.path = plan.outputPath;
    created.backupPath = written.value().backupPath;
    created.settled = written.value().settled;
    return created;
}

QString alreadyHeldText(const QString &characterPath, const Skin &attached)
{
    return QStringLiteral("%1 already holds the mesh %2 on the bone %3.")
        .arg(shownName(characterPath), quotedBytes(attached.mesh), quotedBytes(attached.bone));
}

} // namespace kelvane
