#include "game/gamecharacters.h"

#include "base/filekind.h"
#include "base/gamefoldernames.h"
#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "game/gamelayout.h"
#include "inputs/archivenames.h"
#include "inputs/archivepath.h"
#include "replace/backup.h"
#include "replace/replacelock.h"
#include "replace/replacesteps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvane {

namespace {

std::optional<GameCharacter> characterIn(const QString &archive, const QString &name)
{
    const FileStamp stamp = fileStamp(archive);
    if (stamp.kind != FileKind::Regular)
        return std::nullopt;
    const Result<NamedArchive> named = openNamedArchive(archive, stamp);
    if (!named.ok())
        return std::nullopt;
    for (const QString &extension : extensionsOf(FileRole::Character)) {
        if (const FarEntry *entry = named.value().findFileName(name + extension)) {
            const QString fileName = entry->name.mid(entry->name.lastIndexOf(QLatin1Char('/')) + 1);
            return GameCharacter{archive, entry->name, fileName.left(name.size())};
        }
    }
    return std::nullopt;
}

bool isTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QStringList gamesCovering(const QString &folder, const QStringList &gameFolders)
{
    const QString own = gameFolderHolding(folder);
    return own.isEmpty() ? gameFolders : QStringList{own};
}

std::optional<GameCharacter> gameCharacterNamed(const QString &fileName, const QStringList &games)
{
    const QString name = withoutCharacterExtension(fileName);
    if (name.isEmpty() || name == fileName)
        return std::nullopt;
    for (const QString &game : games) {
        for (const QString &archive : archivesUnder(game)) {
            if (std::optional<GameCharacter> found = characterIn(archive, name))
                return found;
        }
    }
    return std::nullopt;
}

std::optional<GameCharacter> gameCharacterReplacedBy(const QString &path)
{
    const QFileInfo file(path);
    // An archive's own entry takes no one's place; nor does a file that is gone.
    if (archivePathOf(path) || (fileKindOf(path) != FileKind::Regular && !file.isSymLink()))
        return std::nullopt;
    const QString game = gameFolderHolding(file.absolutePath());
    if (game.isEmpty())
        return std::nullopt;
    return gameCharacterNamed(file.fileName(), {game});
}

QString looseFileReplacing(const QString &entryPath)
{
    const std::optional<ArchivePath> inside = archivePathOf(entryPath);
    if (!inside || inside->inner.isEmpty())
        return {};
    const QString fileName = inside->inner.mid(inside->inner.lastIndexOf(QLatin1Char('/')) + 1);
    const QString name = withoutCharacterExtension(fileName);
    const QString game = gameFolderHolding(QFileInfo(inside->archive).path());
    if (name == fileName || game.isEmpty())
        return {};
    const QString skins = subfolderNamed(game, gameSkinsPath());
    if (skins.isEmpty())
        return {};
    for (const QString &extension : extensionsOf(FileRole::Character)) {
        const QString loose = entryNamedIn(skins, name + extension);
        const std::optional<GameCharacter> replaced =
            loose.isEmpty() ? std::nullopt : gameCharacterReplacedBy(loose);
        if (replaced && replaced->name.compare(name, Qt::CaseInsensitive) == 0)
            return QDir::toNativeSeparators(loose);
    }
    return {};
}

QString takesThePlaceText(const GameCharacter &character)
{
    return QStringLiteral("%1 is one of the game's own characters (in %2): the new file takes its "
                          "place for every Sim that wears it.")
        .arg(shownName(character.name), shownName(QDir::toNativeSeparators(character.archive)));
}

QString gameOwnTitle(const GameCharacter &character)
{
    return QStringLiteral("The game's own (%1)")
        .arg(shownName(QFileInfo(character.archive).fileName()));
}

QString putBackPathFor(const QString &path)
{
    // The link itself is moved when there is one: it is what the game finds.
    for (int number = 1; number <= kMaxBackups; ++number) {
        if (!isTaken(backupName(path, number)))
            return backupName(path, number);
    }
    return {};
}

QStringList caseTwinsOf(const QString &path)
{
    const QFileInfo file(path);
    const QString name = file.fileName();
    QStringList twins;
    const QDir folder = file.absoluteDir();
    for (const QString &each : folder.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        if (each != name && each.compare(name, Qt::CaseInsensitive) == 0)
            twins.append(QDir::toNativeSeparators(folder.filePath(each)));
    }
    return twins;
}

namespace {

// Gives the file at path its first free backup name by a rename, which never
// loses it: no copy is made, and a name taken meanwhile is passed over.
Result<QString> moveAside(const QString &path)
{
    const QString shown = shownName(QDir::toNativeSeparators(path));
    for (int number = 1; number <= kMaxBackups; ++number) {
        const QString backup = backupName(path, number);
        if (isTaken(backup))
            continue;
        const Moved moved = moveToFreeName(path, backup);
        switch (moved.outcome) {
        case Move::Done:
            return backup;
        case Move::NameTaken:
            continue;
        case Move::OldNameLeft:
            // Two names of one file: the game still loads it; the new name goes.
            QFile::remove(backup);
            [[fallthrough]];
        case Move::Failed:
        case Move::Abandoned:
            return Failure{
                QStringLiteral("%1: could not be moved to %2 (%3), so the game still "
                               "loads it.")
                    .arg(shown, shownName(QFileInfo(backup).fileName()),
                         moved.reason.isEmpty() ? QStringLiteral("interrupted") : moved.reason)};
        }
    }
    return Failure{noFreeBackupName(path)};
}

} // namespace

Result<PutBack> putBackGameCharacter(const QString &path)
{
    const QString shown = shownName(QDir::toNativeSeparators(path));
    const std::optional<GameCharacter> character = gameCharacterReplacedBy(path);
    if (!character)
        return Failure{QStringLiteral("%1: no loose file here takes the place of one of the "
                                      "game's own characters, so there is none to put back.")
                           .arg(shown)};
    const QString replaced = replacedFilePath(path);
    const ReplaceLock lock(replaced.isEmpty() ? path : replaced);
    if (!lock.refusal().isEmpty())
        return Failure{lock.refusal()};
    if (putBackPathFor(path).isEmpty())
        return Failure{noFreeBackupName(path)};
    const Result<QString> moved = moveAside(path);
    if (!moved.ok())
        return Failure{moved.error() + QStringLiteral(" Nothing was changed.")};
    PutBack putBack{path, moved.value(), *character, {}};
    for (const QString &twin : caseTwinsOf(path)) {
        const Result<QString> twinMoved = moveAside(twin);
        if (!twinMoved.ok())
            return Failure{
                QStringLiteral("%1 was moved to %2. %3")
                    .arg(shown, shownName(QFileInfo(moved.value()).fileName()), twinMoved.error())};
        putBack.twins.append({twin, twinMoved.value()});
    }
    syncFolder(QFileInfo(path).absolutePath());
    return putBack;
}

} // namespace kelvane
