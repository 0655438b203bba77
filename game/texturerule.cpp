#include "game/texturerule.h"

#include "formats/fileformats.h"

#include <algorithm>

namespace kelvane {

namespace {

// The prefixes whose textures the character wears: its own, and for a
// unisex child those of either sex.
QStringList prefixesOf(const QString &characterFileName)
{
    const QString prefix = texturePrefixOf(characterFileName);
    QStringList prefixes{prefix};
    if (prefix.size() >= 6 && prefix[4].toUpper() == QLatin1Char('U') &&
        prefix[5].toUpper() == QLatin1Char('C')) {
        for (const QChar sex : {QLatin1Char('F'), QLatin1Char('M')}) {
            QString other = prefix;
            other[4] = sex;
            prefixes.append(other);
        }
    }
    return prefixes;
}

// The tone that rest starts with, and what follows it; nothing when none.
std::optional<std::pair<QString, QStringView>> toneAtStart(QStringView rest)
{
    for (const QString &tone : skinTones()) {
        if (rest.startsWith(tone, Qt::CaseInsensitive))
            return std::pair{tone, rest.mid(tone.size())};
    }
    return std::nullopt;
}

} // namespace

const QStringList &skinTones()
{
    static const QStringList tones{QStringLiteral("lgt"), QStringLiteral("med"),
                                   QStringLiteral("drk")};
    return tones;
}

QString texturePrefixOf(const QString &characterFileName)
{
    return withoutCharacterExtension(characterFileName).section(QLatin1Char('_'), 0, 0);
}

QList<CharacterTexture> characterTexturesAmong(const QString &characterFileName,
                                               const QStringList &availableFileNames)
{
    const QStringList prefixes = prefixesOf(characterFileName);
    QList<CharacterTexture> textures;
    const FileFormat &texture = gameTextureFormat();
    for (const QString &fileName : availableFileNames) {
        if (!isNamedAs(fileName, texture))
            continue;
        const QStringView name = QStringView(fileName).chopped(texture.extension.size());
        for (const QString &prefix : prefixes) {
            if (prefix.isEmpty() || !name.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            const auto tone = toneAtStart(name.mid(prefix.size()));
            if (!tone)
                continue;
            const QStringView rest = tone->second;
            if (rest.isEmpty() || (rest.size() > 1 && rest.front() == QLatin1Char('_'))) {
                textures.append(
                    {fileName, tone->first, rest.mid(rest.isEmpty() ? 0 : 1).toString()});
                break;
            }
        }
    }
    std::sort(textures.begin(), textures.end(), [](const auto &a, const auto &b) {
        return a.fileName.compare(b.fileName, Qt::CaseInsensitive) < 0;
    });
    return textures;
}

QString defaultTextureLabel(const QString &characterFileName,
                            const QList<CharacterTexture> &textures, const QString &tone)
{
    const QString name = withoutCharacterExtension(characterFileName);
    const qsizetype underscore = name.indexOf(QLatin1Char('_'));
    const QString own = underscore < 0 ? QString() : name.mid(underscore + 1);
    QString first;
    bool any = false;
    for (const CharacterTexture &texture : textures) {
        if (texture.tone != tone)
            continue;
        if (texture.label.compare(own, Qt::CaseInsensitive) == 0)
            return texture.label;
        if (!any)
            first = texture.label;
        any = true;
    }
    return first;
}

bool isSkinToneTexture(const QString &textureName)
{
    const QString code = textureName.section(QLatin1Char('_'), 0, 0);
    return std::any_of(skinTones().cbegin(), skinTones().cend(), [&](const QString &tone) {
        return code.size() > tone.size() && code.endsWith(tone, Qt::CaseInsensitive);
    });
}

QStringList handTextureFileNames(const QString &handCode, const QString &tone)
{
    if (handCode.size() != 4)
        return {};
    const QString kind = handCode.right(1);
    QStringList names;
    for (const QString &sex : {handCode.mid(1, 1), QStringLiteral("U")}) {
        for (const QString &side : {handCode.mid(2, 1), QStringLiteral("A")}) {
            const QString name =
                QStringLiteral("H") + sex + side + kind + tone + gameTextureFormat().extension;
            if (!names.contains(name, Qt::CaseInsensitive))
                names.append(name);
        }
    }
    return names;
}

bool wearsOwnTexture(const QString &bone, const QString &meshTexture)
{
    return meshTexture.isEmpty() ||
           meshTexture.compare(QLatin1String("x"), Qt::CaseInsensitive) == 0 ||
           isSkinToneTexture(meshTexture) ||
           bone.compare(QLatin1String("PELVIS"), Qt::CaseInsensitive) == 0;
}

QString handCodeOf(const QString &characterFileName)
{
    const QString name = withoutCharacterExtension(characterFileName).toUpper();
    const bool hand = name.size() == 4 && name.startsWith(QLatin1Char('H')) &&
                      QStringLiteral("FMU").contains(name.at(1)) &&
                      QStringLiteral("LR").contains(name.at(2)) && name.at(3).isLetter();
    return hand ? name : QString();
}

} // namespace kelvane
