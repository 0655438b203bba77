#include "cli/skinlisting.h"

#include "cli/attachjob.h"
#include "cli/consoleoutput.h"
#include "compose/filesummary.h"
#include "compose/messagetext.h"

#include <limits>

namespace kelvane {

int listSkins(const QStringList &characterFiles, ConsoleOutput &console)
{
    // Names are shown whole: a listing is read by scripts too.
    constexpr qsizetype kWhole = std::numeric_limits<qsizetype>::max();
    int exitCode = kExitSuccess;
    bool first = true;
    for (const QString &file : characterFiles) {
        const Result<QList<Skin>> skins = summarizeCharacterFile(file);
        if (!skins.ok()) {
            console.printError(QStringLiteral("kelvane-attach: ") + skins.error());
            exitCode = kExitFailure;
            continue;
        }
        if (characterFiles.size() > 1) {
            if (!first)
                console.printLine(QString());
            console.printLine(QStringLiteral("==> %1 <==").arg(shownName(file)));
        }
        first = false;
        for (const Skin &skin : skins.value())
            console.printLine(shownBytes(skin.bone, kWhole) + QLatin1Char('\t') +
                              shownBytes(skin.mesh, kWhole));
    }
    return exitCode;
}

} // namespace kelvane
