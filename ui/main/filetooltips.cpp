#include "ui/main/filetooltips.h"

#include "compose/filesummary.h"
#include "controls/filelist.h"
#include "ui/main/backgroundtooltips.h"

#include <QTextDocument>

namespace kelvane {

namespace {

// Enough to recognise a character file without a tooltip taller than the screen.
constexpr qsizetype kMaxSkinsShown = 20;
constexpr qsizetype kMaxNameShown = 60;

// A name from a file, decoded as the game's 8-bit text and cut short when long.
QString shownName(const QByteArray &name)
{
    const QString text = QString::fromLatin1(name);
    if (text.size() <= kMaxNameShown)
        return text;
    return text.left(kMaxNameShown - 1) + QChar(0x2026);
}

// File content is untrusted: it is shown as plain text, never as markup.
QString toolTipText(const QString &plain)
{
    return Qt::convertFromPlainText(plain, Qt::WhiteSpaceNormal);
}

} // namespace

void installFileToolTips(const MainControls &controls)
{
    new BackgroundToolTips(*controls.FileSkins, characterFileToolTip);
    new BackgroundToolTips(*controls.FileProps, meshFileToolTip);
}

QString characterFileToolTip(const QString &path)
{
    const Result<QList<Skin>> summary = summarizeCharacterFile(path);
    if (!summary.ok())
        return toolTipText(summary.error());

    const QList<Skin> &skins = summary.value();
    const qsizetype count = skins.size();
    QStringList lines = {count == 0   ? QStringLiteral("No skins.")
                         : count == 1 ? QStringLiteral("1 skin:")
                                      : QStringLiteral("%1 skins:").arg(count)};
    for (const Skin &skin : skins.first(qMin(count, kMaxSkinsShown)))
        lines.append(shownName(skin.bone) + QStringLiteral(" \u2192 ") + shownName(skin.mesh));
    if (count > kMaxSkinsShown)
        lines.append(QStringLiteral("\u2026 and %1 more").arg(count - kMaxSkinsShown));
    return toolTipText(lines.join(QLatin1Char('\n')));
}

QString meshFileToolTip(const QString &path)
{
    const Result<Skin> summary = summarizeMeshFile(path);
    if (!summary.ok())
        return toolTipText(summary.error());
    return toolTipText(QStringLiteral("Mesh: %1\nAttaches to: %2")
                           .arg(shownName(summary.value().mesh), shownName(summary.value().bone)));
}

} // namespace kelvane
