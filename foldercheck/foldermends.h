#pragma once

#include "foldercheck/folderreport.h"
#include "game/gamecheck.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane {

// What applying one mend did: the files changed, moved or copied and where
// old content is kept; or why it was refused, nothing being changed.
struct MendOutcome {
    QString path; // the file of the finding
    bool done = false;
    QStringList lines;
};

// Applies the mend of one finding, with the replace's guarantees: a changed
// file keeps its old content as a backup (NAME.bak, .bak2, ...), nothing is
// half-written, a move never replaces a file, nothing is deleted. A texture
// is converted by convert (which the front ends supply; compose draws no
// pictures). Renumbering takes an ID from report.usedIds and adds it there.
MendOutcome applyMend(const Finding &finding, FolderReport &report,
                      const TextureConverter &convert);

// Applies each mend in turn; one refused leaves the others to be done.
QList<MendOutcome> applyMends(const QList<Finding> &findings, FolderReport &report,
                              const TextureConverter &convert);

} // namespace kelvane
