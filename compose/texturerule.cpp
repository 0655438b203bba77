#include "compose/texturerule.h"

#include "compose/newname.h"

#include <algorithm>

namespace kelvane {

namespace {

const QStringList kTones{QStringLiteral("lgt"), QStringLiteral("med"), QStringLiteral("drk")};
const QString kTextureExtension = QStringLiteral(".bmp");

// The prefixes whose textures a character of that prefix wears.
QStringList wornPrefixes(const QString &prefix)
{
    // A letter, three characters of its ID, then its sex and age letters.
    constexpr qsizetype kSex = 4;
    if (prefix.size() > kSex + 1 && prefix.mid(kSex, 2).compare(u"UC", Qt::CaseInsensitive) == 0)
        return {prefix.left(kSex) + QLatin1Char('F') + prefix.mid(kSex + 1),
                prefix.left(kSex) + QLatin1Char('M') + prefix.mid(kSex + 1)};
    return {prefix};
}

} // namespace

QString texturePrefixOf(const QString &characterFileName)
{
    return withoutCharacterExtension(characterFileName).section(QLatin1Char('_'), 0, 0);
}

QList<CharacterTexture> characterTexturesAmong(const QString &characterFileName,
                                               const QStringList &availableFileNames)
{
    const QStringList prefixes = wornPrefixes(texturePrefixOf(characterFileName));
    QList<CharacterTexture> found;
    for (const QString &fileName : availableFileNames) {
        if (!fileName.endsWith(kTextureExtension, Qt::CaseInsensitive))
            continue;
        const QString stem = fileName.chopped(kTextureExtension.size());
        const qsizetype underscore = stem.indexOf(QLatin1Char('_'));
        if (underscore < 3)
            continue;
        const QString tone = stem.mid(underscore - 3, 3).toLower();
        if (!kTones.contains(tone))
            continue;
        const QString prefix = stem.left(underscore - 3);
        const bool worn = std::any_of(prefixes.cbegin(), prefixes.cend(), [&](const QString &p) {
            return p.compare(prefix, Qt::CaseInsensitive) == 0;
        });
        if (worn)
            found.append({fileName, tone, stem.mid(underscore + 1)});
    }
    return found;
}

} // namespace kelvane
