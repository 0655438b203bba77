#pragma once

#include "platform/drives.h"
#include "ui/look/twips.h"

#include <span>

class QWidget;

namespace kelvane {

struct MainControls;
struct MainControlRow;

// The fonts of the Main window's controls; Default keeps the interface font.
enum class FontRole { Default, Caption, Strong, Title };

// The colours of the Main window's controls; Standard keeps the system's.
enum class ColourRole {
    Standard,
    CaptionText,
    InfoText,
    FolderText,
    SkinsDrive,
    MeshDrive,
    ButtonFace
};

// Creates a row's control on window and, when the controller handles its
// events, stores it in controls.
using CreateControl = QWidget *(*)(const MainControlRow &row, const DriveSource &drives,
                                   QWidget *window, MainControls &controls);

// One control of the Main window, everything the window needs to build, place,
// look and name it.
struct MainControlRow {
    const char *name; // the object name
    CreateControl create;
    const char *text; // a label's or button's caption
    TwipsRect place;
    FontRole font;
    ColourRole colour;
    // What screen readers announce; a label without one is read by its caption.
    const char *accessibleName;
    const char *accessibleDescription;
};

// Every control of the window, those that take the focus first and in tab order.
std::span<const MainControlRow> mainControlTable();

} // namespace kelvane
