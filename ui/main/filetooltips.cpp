#include "ui/main/filetooltips.h"

#include "base/messagetext.h"
#include "controls/directorylist.h"
#include "controls/filelist.h"
#include "inputs/filesummary.h"
#include "ui/main/backgroundtooltips.h"

namespace kelvane {

namespace {

// Enough to recognise a character file without a tooltip taller than the screen.
constexpr qsizetype kMaxSkinsShown = 20;
constexpr qsizetype kMaxNameShown = 60;

// A name from a file, decoded as the game's 8-bit text, cut short when long.
QString shownField(const QByteArray &name)
{
    return shownBytes(name, kMaxNameShown);
}

} // namespace

void installFileToolTips(const MainControls &controls)
{
    new BackgroundToolTips(*controls.FileSkins, [](const QString &path) {
        return characterFileToolTip(path) + plainToolTip(characterListHint());
    });
    new BackgroundToolTips(*controls.FileProps, [](const QString &path) {
        return meshFileToolTip(path) + plainToolTip(meshListHint());
    });
    controls.FileSkins->setToolTip(plainToolTip(characterListHint()));
    controls.FileProps->setToolTip(plainToolTip(meshListHint()));
    for (DirectoryList *folders : {controls.DirSkins, controls.DirProps}) {
        if (folders)
            folders->setToolTip(plainToolTip(folderListHint()));
    }
}

QString folderListHint()
{
    return QStringLiteral("Right-click a folder for Check This Folder...: every skin in it checked "
                          "as the game reads it, and what can be mended.");
}

QString characterListHint()
{
    return QStringLiteral("Ctrl+click, Shift+click or Ctrl+A selects several character files: "
                          "each gets the mesh. Right-click for Preview... and Restore Previous "
                          "Version...");
}

QString meshListHint()
{
    return QStringLiteral("Right-click for Preview... of the character file selected wearing "
                          "this mesh.");
}

QString characterFileToolTip(const QString &path)
{
    return characterSummaryToolTip(summarizeCharacterFile(path));
}

QString characterSummaryToolTip(const Result<QList<Skin>> &summary)
{
    if (!summary.ok())
        return plainToolTip(summary.error());

    const QList<Skin> &skins = summary.value();
    const qsizetype count = skins.size();
    QStringList lines = {count == 0   ? QStringLiteral("No skins.")
                         : count == 1 ? QStringLiteral("1 skin:")
                                      : QStringLiteral("%1 skins:").arg(count)};
    for (const Skin &skin : skins.first(qMin(count, kMaxSkinsShown)))
        lines.append(shownField(skin.bone) + QStringLiteral(" \u2192 ") + shownField(skin.mesh));
    if (count > kMaxSkinsShown)
        lines.append(QStringLiteral("\u2026 and %1 more").arg(count - kMaxSkinsShown));
    return plainToolTip(lines.join(QLatin1Char('\n')));
}

QString meshFileToolTip(const QString &path)
{
    const Result<Skin> summary = summarizeMeshFile(path);
    if (!summary.ok())
        return plainToolTip(summary.error());
    return plainToolTip(
        QStringLiteral("Mesh: %1\nAttaches to: %2")
            .arg(shownField(summary.value().mesh), shownField(summary.value().bone)));
}

} // namespace kelvane
