#pragma once

#include <QString>

class QWidget;

namespace kelvane {

// The credits and terms of use: five lines joined by CR LF, the fourth empty.
QString aboutText();

// Shows the About message over parent and returns when the user presses OK.
void showAbout(QWidget *parent);

} // namespace kelvane
