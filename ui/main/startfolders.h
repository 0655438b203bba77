#pragma once

#include <QString>
#include <QStringList>

namespace kelvane {

class MainController;

// The folders the program is started with: the skins side opens the first,
// the mesh side the second, or the first as well when only one is given.
// A folder that cannot be opened is left out; the messages say which and why.
QStringList openStartFolders(MainController &controller, const QStringList &folders);

} // namespace kelvane
