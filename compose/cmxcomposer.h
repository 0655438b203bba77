#pragma once

#include "linelist.h"

#include <QString>

#include <optional>

namespace kelvane {

// Largest count line 7 of a character file may hold: the game reads it as a
// signed 16-bit number.
inline constexpr int kMaxSkinCount = 32767;

// The count of skins in line 7 of a character file: a whole decimal number,
// blanks around it allowed. Anything else, a sign or a fraction included, is
// no count. Values beyond what a qint64 holds come back as the qint64 maximum.
std::optional<qint64> parseSkinCount(QByteArrayView line);

// The lines of a character file text that composing uses: those up to the last
// skin group its count announces. Cutting no further keeps a huge or hostile
// file from costing more than its own bytes.
LineList splitCharacterFile(const QByteArray &text);

// What is wrong with an input, and which input it is.
struct ComposeFailure {
    enum class Input { CharacterFile, MeshFile, NewName };
    Input input;
    QString reason;
};

// The composed character file, or why it cannot be composed.
struct ComposeResult {
    QByteArray text; // ends in the closing "0", without a line end
    std::optional<ComposeFailure> failure;

    bool ok() const { return !failure; }
};

// Composes a character file holding every skin group of the character file
// skinLines plus one group for the mesh file meshLines (from the first bytes
// of the mesh file that were read), named newName.
ComposeResult ComposeAttachedCmx(const LineList &skinLines, const LineList &meshLines,
                                 const QString &newName);

} // namespace kelvane
