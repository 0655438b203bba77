#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane {

// What a character file's name code says: B005MAFit_01 is a body (a letter
// other than C and H, three characters, the sex F, M or U, the age A or C,
// the body type Fat, Fit, Skn or Chd if any); C001FA_Mercedes a head (C,
// three characters, sex, age).
struct CharacterCode {
    enum class Kind { Other, Body, Head } kind = Kind::Other;
    QChar sex; // F, M or U
    QChar age; // A or C
};
CharacterCode characterCodeOf(const QString &characterFileName);

// Whether a character of code other would go with one of code: a head for a
// body or a body for a head, of the same age and sex (either sex for a
// unisex child).
bool goesWith(const CharacterCode &code, const CharacterCode &other);

// The character files beside characterPath and in the games found that go
// with it, each name once (the first found), in name order; loose paths or
// ARCHIVE.far/ENTRY.
QStringList charactersGoingWith(const QString &characterPath, const QStringList &gameFolders);

// The game's open hands for a body of code, left then right: the bone, the
// hand's code (HMLO) and its mesh's name; none for a code that is no body.
struct HandMesh {
    QByteArray bone;
    QString code;
    QByteArray meshName;
};
QList<HandMesh> openHandsOf(const CharacterCode &code);

} // namespace kelvane
