#pragma once

#include "base/result.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// The game's own characters live in its FAR archives; a loose character file
// of the same name takes the place of one for every Sim that wears it.
// Writing one is a decision, and putting the game's own back undoes it.

// A character file inside one of the game's archives.
struct GameCharacter {
    QString archive; // the archive's path
    QString entry;   // the entry's name inside it
    QString name;    // the character's name as the archive spells it, without extension
};

// The games a loose file in folder is checked against: the game folder that
// holds folder, or else every one of gameFolders.
QStringList gamesCovering(const QString &folder, const QStringList &gameFolders);

// The character of the games' archives that a loose character file named
// fileName would take the place of: one of the same name without its
// extension, text or binary, in any case. Nothing for a name that is no
// character file's, or when no archive holds one; an archive that cannot be
// read is passed over.
std::optional<GameCharacter> gameCharacterNamed(const QString &fileName, const QStringList &games);

// The character the loose file at path takes the place of, looked for in the
// game folder that holds it only: elsewhere the game never loads it. Nothing
// when no file is there, or for an archive's entry.
std::optional<GameCharacter> gameCharacterReplacedBy(const QString &path);

// The loose file in its game's skins folder that takes the place of the
// character at entryPath, an archive's entry (ARCHIVE.far/Skins/NAME.cmx.bcf);
// empty when none does.
QString looseFileReplacing(const QString &entryPath);

// The finding that the new file at outputPath takes the place of character.
QString takesThePlaceText(const GameCharacter &character);

// How a list of versions names the game's own: "The game's own (ARCHIVE)".
QString gameOwnTitle(const GameCharacter &character);

struct PutBack {
    QString path;   // the loose file that took the character's place
    QString keptAs; // where its content went
    GameCharacter character;
    // Files beside it whose names differ from its own only in case, which
    // the game took for it too, and where each went.
    struct Twin {
        QString path;
        QString keptAs;
    };
    QList<Twin> twins;
};

// The name the loose file at path is moved to when the game's own is put
// back: the first free backup name beside it, the link itself when it is one;
// empty when none is free.
QString putBackPathFor(const QString &path);

// The files beside the file at path whose names differ from its name only in
// case (where the system tells case apart): the game loads any of them.
QStringList caseTwinsOf(const QString &path);

// Puts the game's own character back: the loose file at path (a link itself,
// not what it leads to), and each of its case twins, takes its next free
// backup name by a rename, so the game loads the archive's version again.
// Nothing is deleted or copied, and the replace lock of the file is held.
// Fails naming the file when it takes no character's place, or when it or a
// twin cannot be moved.
Result<PutBack> putBackGameCharacter(const QString &path);

} // namespace kelvane
