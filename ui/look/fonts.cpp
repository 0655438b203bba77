#include "ui/look/look.h"

#include <QFontDatabase>
#include <QStringList>

namespace kelvane {

namespace {

// Each font the layout names comes first; the bundled stand-in is used where
// it is not installed, so the windows never fall back to an arbitrary font.
const QStringList captionFamilies{QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")};
const QStringList titleFamilies{QStringLiteral("Tw Cen MT"), QStringLiteral("League Spartan")};

constexpr qreal captionPointSize = 6.75;
constexpr qreal titlePointSize = 20.25;

// The families of the list that are installed.
QStringList installedOf(const QStringList &families)
{
    const QStringList installed = QFontDatabase::families();
    QStringList found;
    for (const QString &family : families) {
        if (installed.contains(family, Qt::CaseInsensitive))
            found.append(family);
    }
    return found;
}

QFont fontOf(const QStringList &families, qreal pointSize, QFont::Weight weight)
{
    QFont font;
    // Naming a missing family makes every load of the font ask the system for
    // substitutes first, which costs start-up time; the font chosen is the same.
    const QStringList installed = installedOf(families);
    font.setFamilies(installed.isEmpty() ? families : installed);
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    font.setStyle(QFont::StyleNormal);
    return font;
}

} // namespace

bool registerBundledFonts()
{
    static const bool registered = [] {
        // A stand-in is loaded only where neither it nor the font it stands in
        // for is installed: loading a font costs start-up time and memory.
        QList<const char *> files;
        if (installedOf(captionFamilies).isEmpty())
            files << ":/kelvane/fonts/DejaVuSans.ttf"
                  << ":/kelvane/fonts/DejaVuSans-Bold.ttf";
        if (installedOf(titleFamilies).isEmpty())
            files << ":/kelvane/fonts/LeagueSpartan-Regular.otf";
        bool allLoaded = true;
        for (const char *file : files) {
            if (QFontDatabase::addApplicationFont(QString::fromLatin1(file)) < 0) {
                qWarning("Could not load the bundled font %s", file);
                allLoaded = false;
            }
        }
        return allLoaded;
    }();
    return registered;
}

QFont captionFont()
{
    return fontOf(captionFamilies, captionPointSize, QFont::Normal);
}

QFont strongFont()
{
    return fontOf(captionFamilies, captionPointSize, QFont::Bold);
}

QFont titleFont()
{
    return fontOf(titleFamilies, titlePointSize, QFont::Normal);
}

} // namespace kelvane
