#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>

namespace kelvane {

// One skin of a character: the bone and the mesh on it, with the two numbers
// the game keeps beside them (censor flags, and one more).
struct Skin {
    QByteArray bone;
    QByteArray mesh;
    quint32 censorFlags = 0;
    quint32 second = 0;
};

// How a character file is stored: the game's text (.cmx) or binary (.cmx.bcf).
enum class CharacterFormat { Text, Binary };

// A character file: one outfit (its name, type and second number) and its
// skins in order. Files of either format read into this and write from it.
struct Character {
    CharacterFormat format = CharacterFormat::Text;
    QByteArray name;
    quint32 type = 0;
    quint32 second = 0;
    QList<Skin> skins;
};

// Whether skins hold one with skin's bone and mesh name (compared exactly).
inline bool holdsSkin(const QList<Skin> &skins, const Skin &skin)
{
    return std::any_of(skins.cbegin(), skins.cend(), [&skin](const Skin &each) {
        return each.bone == skin.bone && each.mesh == skin.mesh;
    });
}

// Largest count of skins a character file may hold: the game reads the text
// count as a signed 16-bit number.
inline constexpr int kMaxSkinCount = 32767;

// The extension of a character file stored in format.
QString characterExtension(CharacterFormat format);

} // namespace kelvane
