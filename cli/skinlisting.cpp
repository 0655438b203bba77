#include "cli/skinlisting.h"

#include "base/messagetext.h"
#include "cli/attachjob.h"
#include "cli/consoleoutput.h"
#include "formats/fileformats.h"
#include "inputs/archivecharacters.h"
#include "inputs/archivepath.h"
#include "inputs/filesummary.h"

#include <QDir>

#include <limits>

namespace kelvane {

namespace {

// The files a --list argument stands for: the file itself, or for an archive
// every character file inside it, as paths through the archive; skeletons
// and animations the game keeps under the same extensions are passed over.
Result<QStringList> filesListed(const QString &argument)
{
    const std::optional<ArchivePath> inside = archivePathOf(argument);
    if (!inside || !inside->inner.isEmpty())
        return QStringList{argument};
    const Result<FarArchive> archive = openArchive(*inside);
    if (!archive.ok())
        return Failure{archive.error()};
    const QSet<qsizetype> others = entriesHoldingNoCharacter(archive.value(), inside->stamp);
    const QList<FarEntry> &entries = archive.value().entries();
    QStringList files;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!ownNameOf(entries[i].name).isEmpty() && !others.contains(i))
            files.append(argument + QDir::separator() + QDir::toNativeSeparators(entries[i].name));
    }
    if (files.isEmpty())
        return Failure{QStringLiteral("%1: the archive holds no character file (.cmx or .cmx.bcf).")
                           .arg(shownName(argument))};
    return files;
}

} // namespace

int listSkins(const QStringList &arguments, ConsoleOutput &console)
{
    // Names are shown whole: a listing is read by scripts too.
    constexpr qsizetype kWhole = std::numeric_limits<qsizetype>::max();
    int exitCode = kExitSuccess;
    QStringList characterFiles;
    bool headed = arguments.size() > 1;
    for (const QString &argument : arguments) {
        const Result<QStringList> files = filesListed(argument);
        if (!files.ok()) {
            console.printError(QStringLiteral("kelvane-attach: ") + files.error());
            exitCode = kExitFailure;
            continue;
        }
        // An archive's entries are always named.
        headed = headed || files.value() != QStringList{argument};
        characterFiles += files.value();
    }
    bool first = true;
    for (const QString &file : characterFiles) {
        const Result<QList<Skin>> skins = summarizeCharacterFile(file);
        if (!skins.ok()) {
            console.printError(QStringLiteral("kelvane-attach: ") + skins.error());
            exitCode = kExitFailure;
            continue;
        }
        if (headed) {
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
