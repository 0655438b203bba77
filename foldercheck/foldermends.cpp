#include "foldercheck/foldermends.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "foldercheck/innername.h"
#include "foldercheck/renumber.h"
#include "formats/characterformat.h"
#include "formats/fileformats.h"
#include "inputs/inputfiles.h"
#include "replace/backup.h"
#include "replace/replace.h"
#include "replace/replacesteps.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

QString nameOf(const QString &path)
{
    return shownName(QFileInfo(path).fileName());
}

MendOutcome refused(const QString &path, const QString &why)
{
    return {path, false, {QStringLiteral("not mended: %1").arg(why)}};
}

// Replaces the file at path (where a link leads) by bytes, keeping its old
// content as a backup.
MendOutcome replaced(const QString &path, const QByteArray &bytes, const QString &what)
{
    const QString target = replacedFilePath(path);
    if (target.isEmpty())
        return refused(path, QStringLiteral("it is a link that leads nowhere."));
    const Result<Replaced> written = replaceFile(target, bytes, true);
    if (!written.ok())
        return refused(path, written.error());
    MendOutcome out{path, true, written.value().settled};
    out.lines.append(QStringLiteral("%1; the old file is kept as %2.")
                         .arg(what, shownBackupName(written.value().backupPath, path)));
    return out;
}

MendOutcome writeInnerName(const QString &path)
{
    const Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes.ok())
        return refused(path, bytes.error());
    const QString stem = withoutCharacterExtension(QFileInfo(path).fileName());
    const Result<QByteArray> changed = withInnerName(bytes.value(), stem.toLatin1());
    if (!changed.ok())
        return refused(path, changed.error());
    return replaced(path, changed.value(),
                    QStringLiteral("wrote %1 as its inner name").arg(shownName(stem)));
}

MendOutcome convertTexture(const QString &path, const TextureConverter &convert)
{
    if (!convert)
        return refused(path, QStringLiteral("textures cannot be converted here."));
    const Result<QByteArray> bytes = convert(path);
    if (!bytes.ok())
        return refused(path, bytes.error());
    return replaced(path, bytes.value(), QStringLiteral("converted it to 256 colours"));
}

// Moves a file to a free name; a name taken in any case counts as taken.
MendOutcome moved(const QString &path, const QString &target, const QString &how)
{
    const QFileInfo to(target);
    if (!entryNamedIn(to.path(), to.fileName()).isEmpty())
        return refused(path, QStringLiteral("%1 is taken.").arg(nameOf(target)));
    const Moved move = moveToFreeName(path, target);
    switch (move.outcome) {
    case Move::Done:
        return {path,
                true,
                {QStringLiteral("%1 %2 to %3.")
                     .arg(how, shownName(QDir::toNativeSeparators(path)),
                          shownName(QDir::toNativeSeparators(target)))}};
    case Move::NameTaken:
        return refused(path, QStringLiteral("%1 is taken.").arg(nameOf(target)));
    case Move::OldNameLeft:
        return {path,
                true,
                {QStringLiteral("%1 %2 to %3, but its old name is left (%4).")
                     .arg(how, shownName(QDir::toNativeSeparators(path)),
                          shownName(QDir::toNativeSeparators(target)), move.reason)}};
    case Move::Failed:
    case Move::Abandoned:
        break;
    }
    return refused(path, QStringLiteral("it cannot be moved (%1).").arg(move.reason));
}

MendOutcome moveIn(const QString &path, const QString &target)
{
    MendOutcome out = moved(path, target, QStringLiteral("moved"));
    if (!out.done)
        out.lines.append(
            QStringLiteral("To move it, start Kelvane as administrator (right-click, Run as "
                           "administrator), or move the file by hand with the rights to write "
                           "into %1.")
                .arg(shownName(QDir::toNativeSeparators(QFileInfo(target).path()))));
    return out;
}

MendOutcome copyBeside(const Finding &finding)
{
    const GameCopies copies = copyForTheGame(
        {GameFileCopy{finding.mend.source, finding.mend.target, false, false}}, Copies::Made, {});
    if (!copies.failures.isEmpty())
        return refused(finding.path, copies.failures.join(u' '));
    if (!copies.notes.isEmpty())
        return refused(finding.path, copies.notes.join(u' '));
    return {finding.path,
            true,
            {QStringLiteral("copied %1 to %2.")
                 .arg(shownName(QDir::toNativeSeparators(finding.mend.source)),
                      shownName(QDir::toNativeSeparators(finding.mend.target)))}};
}

MendOutcome renumber(const QString &path, FolderReport &report)
{
    const Result<Renumbered> done = renumberCharacter(path, report.usedIds);
    if (!done.ok())
        return refused(path, done.error());
    return {path, true, done.value().lines};
}

} // namespace

MendOutcome applyMend(const Finding &finding, FolderReport &report, const TextureConverter &convert)
{
    const QString &path = finding.path;
    switch (finding.mend.kind) {
    case MendKind::None:
        break;
    case MendKind::WriteInnerName:
        return writeInnerName(path);
    case MendKind::ConvertTexture:
        return convertTexture(path, convert);
    case MendKind::Rename:
        return moved(path, finding.mend.target, QStringLiteral("renamed"));
    case MendKind::MoveUp:
        return moved(path, finding.mend.target, QStringLiteral("moved"));
    case MendKind::MoveIn:
        return moveIn(path, finding.mend.target);
    case MendKind::CopyBeside:
        return copyBeside(finding);
    case MendKind::Renumber:
        return renumber(path, report);
    }
    return refused(path, finding.mend.text);
}

QList<MendOutcome> applyMends(const QList<Finding> &findings, FolderReport &report,
                              const TextureConverter &convert)
{
    QList<MendOutcome> outcomes;
    // A renumbered file takes a new name: every other mend goes first.
    for (const bool renumbering : {false, true}) {
        for (const Finding &finding : findings) {
            if (finding.mendable() && (finding.mend.kind == MendKind::Renumber) == renumbering)
                outcomes.append(applyMend(finding, report, convert));
        }
    }
    return outcomes;
}

qsizetype FolderReport::mendableByDefault() const
{
    return std::count_if(findings.cbegin(), findings.cend(),
                         [](const Finding &finding) { return finding.mendedByDefault(); });
}

} // namespace kelvane
