#pragma once

class QRect;
class QWidget;

namespace kelvane {

// Places a window that is about to be shown with its frame, title bar
// included, centred on area. Until the window manager has framed the window,
// the frame of like (when given) stands in for its own; once the real frame
// is known and differs, the window is centred again. Without a window manager
// the frame is the window itself.
void centreWindow(QWidget &window, const QRect &area, const QWidget *like = nullptr);

// Centred on the part of its screen that windows may use.
void centreOnScreen(QWidget &window);

// Centred over owner's frame as it is placed on screen.
void centreOverOwner(QWidget &window, const QWidget &owner);

} // namespace kelvane
