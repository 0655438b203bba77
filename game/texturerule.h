#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane {

// How the game pairs a character with its textures. A character file's own
// texture is any PREFIX + TONE + "_" + LABEL + ".bmp" (or PREFIX + TONE +
// ".bmp", as hands have), in any case, where PREFIX is the character file's
// name up to its first "_" and TONE one of lgt, med, drk: B005mafit_01.cmx
// wears B005MAFitlgt_hippy.bmp. A unisex child (the sex letter U, the age
// letter C) wears the textures of either sex: B001UCChd_01 those of B001FCChd
// and B001MCChd.

// The skin tones, in the order they are offered.
const QStringList &skinTones();

// The character file's name up to its first "_", without its extension:
// "B005mafit" for B005mafit_01.cmx.bcf.
QString texturePrefixOf(const QString &characterFileName);

struct CharacterTexture {
    QString fileName; // as spelled among the files
    QString tone;     // lgt, med or drk
    QString label;    // as spelled in the file name; empty for PREFIX + TONE alone
};

// The character's own textures among availableFileNames, in name order (any case).
QList<CharacterTexture> characterTexturesAmong(const QString &characterFileName,
                                               const QStringList &availableFileNames);

// The label a preview shows first in tone: the label of the character file's
// own name (after its first "_") when one of textures in tone has it, else
// the first in tone; empty when none is in tone.
QString defaultTextureLabel(const QString &characterFileName,
                            const QList<CharacterTexture> &textures, const QString &tone);

// Whether a texture named by a mesh is a character's texture in a skin tone
// (the tone just before its first "_", or at its end): such a mesh takes the
// character's own texture instead.
bool isSkinToneTexture(const QString &textureName);

// Whether a skin on bone whose mesh names meshTexture wears the character's
// own texture rather than its mesh's: a body (on PELVIS), a mesh naming no
// texture ("x"), or one naming a skin-tone texture. Glasses wear their own.
bool wearsOwnTexture(const QString &bone, const QString &meshTexture);

// The hand's code (HMLO) when characterFileName is one of the game's hand
// files (H, the sex F, M or U, the side L or R, the pose), else empty.
QString handCodeOf(const QString &characterFileName);

// The texture files of a hand (HMLO: male, left, open) in tone, the best
// first: its own (HMLOlgt.bmp), then the same for either side (HMAOlgt.bmp),
// then the unisex ones (HULOlgt.bmp, HUAOlgt.bmp).
QStringList handTextureFileNames(const QString &handCode, const QString &tone);

} // namespace kelvane
