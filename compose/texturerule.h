#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane {

// Which textures a character wears, by the game's rule: its prefix (the name
// up to its first "_"), a skin tone and "_" with any label, as a BMP.
// C001FA_hair wears C001FAlgt_hair.bmp, C001FAdrk_bald.bmp, ...

// The prefix of a character file's name: up to its first "_", without the
// extension ("B001FAFit_01.cmx" gives "B001FAFit").
QString texturePrefixOf(const QString &characterFileName);

// A texture a character may wear: its file name as found, its tone ("lgt",
// "med" or "drk") and its label (what follows the "_").
struct CharacterTexture {
    QString fileName;
    QString tone;
    QString label;
};

// The textures among availableFileNames that the character of that file
// name wears, names matched in any case. A unisex child (its sex and age
// letters "UC") wears the girls' (FC) and the boys' (MC) textures.
QList<CharacterTexture> characterTexturesAmong(const QString &characterFileName,
                                               const QStringList &availableFileNames);

} // namespace kelvane
