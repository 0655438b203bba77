#pragma once

#include <QColor>

// The named colours of the Main and Help windows.
namespace kelvane::colours {

// Main: the window behind its picture, caption texts, folder texts.
inline constexpr QColor windowBack(64, 64, 64);
inline constexpr QColor white(255, 255, 255);
inline constexpr QColor black(0, 0, 0);
// Main: the information line and the skins drive list.
inline constexpr QColor teal(0, 128, 128);
// Main: the mesh drive list.
inline constexpr QColor blue(0, 0, 192);
// Main: the create button's face.
inline constexpr QColor buttonFace(192, 192, 192);
// Help: the window and its text box.
inline constexpr QColor navy(0, 0, 64);

} // namespace kelvane::colours
