#pragma once

#include "base/result.h"
#include "formats/character.h"
#include "ui/main/maincontrols.h"

#include <QString>

namespace kelvane {

// Tooltips over the file lists that show what a file holds before it is used:
// a character file's skins, a mesh file's mesh and bone, or the message the
// create command would give for the file. A file is read only when the
// pointer rests on it, and never on the user-interface thread.
void installFileToolTips(const MainControls &controls);

// What each list's tooltips add under every file, and show alone where no
// file is: how to select several files, and what the right-click menu offers.
QString characterListHint();
QString meshListHint();

// What the folder lists offer beyond browsing.
QString folderListHint();

// The tooltip texts, as rich text with the file's content escaped; safe to
// build on any thread.
QString characterFileToolTip(const QString &path);
// The same from a summary of a character file's skins.
QString characterSummaryToolTip(const Result<QList<Skin>> &summary);
QString meshFileToolTip(const QString &path);

} // namespace kelvane
