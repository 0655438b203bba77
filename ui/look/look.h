#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>

// The program's shared look: its three fonts, its icon and the picture behind
// the main window.
namespace kelvane {

// Makes the fonts that ship with the program known to Qt, each where the
// system has neither it nor the font it stands in for. Call once after the
// QGuiApplication exists and before the first window is built. Returns false
// if any of them could not be loaded. Calling it again does nothing.
bool registerBundledFonts();

// Verdana 6.75 pt, or its bundled stand-in, regular and bold.
QFont captionFont();
QFont strongFont();

// Tw Cen MT 20.25 pt, or its bundled stand-in.
QFont titleFont();

// The 32 x 32 application and window icon.
QIcon appIcon();

// The 597 x 400 decoration drawn unscaled from a window's top-left corner:
// 24-bit colour, read-only.
QImage backgroundPicture();

} // namespace kelvane
