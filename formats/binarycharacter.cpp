#include "formats/binarycharacter.h"

#include "base/bytereader.h"

namespace kelvane {

namespace {

// The fewest bytes a skin takes: two empty names and two numbers.
constexpr qsizetype kLeastSkinBytes = 1 + 1 + 4 + 4;

QString endsEarly(const QString &what, qsizetype at)
{
    return QStringLiteral("the file ends within %1 (at byte %2); it is cut short or damaged.")
        .arg(what)
        .arg(at);
}

QString plural(quint32 count, const QString &one, const QString &many)
{
    return count == 1 ? QStringLiteral("1 ") + one : QStringLiteral("%1 ").arg(count) + many;
}

} // namespace

bool looksLikeBinaryCharacter(QByteArrayView bytes)
{
    // The skeleton count: a small number, so its high bytes are zero; text
    // files begin with a letter or "//" (text saved as UTF-16 is told apart
    // before).
    return bytes.size() >= 4 && bytes[2] == 0 && bytes[3] == 0;
}

Result<Character> binaryCharacterOf(QByteArrayView bytes)
{
    ByteReader in(bytes);
    const std::optional<quint32> skeletons = in.u32();
    if (!skeletons)
        return Failure{endsEarly(QStringLiteral("the count of skeletons"), in.position())};
    if (*skeletons != 0)
        return Failure{
            QStringLiteral("it holds %1 and no outfit; it looks like a skeleton "
                           "file, not a character file.")
                .arg(plural(*skeletons, QStringLiteral("skeleton"), QStringLiteral("skeletons")))};
    const std::optional<quint32> suits = in.u32();
    if (!suits)
        return Failure{endsEarly(QStringLiteral("the count of outfits"), in.position())};
    if (*suits == 0)
        return Failure{QStringLiteral("it holds no outfit; it looks like an animation file, not a "
                                      "character file.")};
    if (*suits != 1)
        return Failure{
            QStringLiteral("it holds %1; a file with several outfits would lose all but "
                           "the first.")
                .arg(plural(*suits, QStringLiteral("outfit"), QStringLiteral("outfits")))};

    Character character;
    character.format = CharacterFormat::Binary;
    const std::optional<QByteArray> name = in.string();
    const std::optional<quint32> type = name ? in.u32() : std::nullopt;
    const std::optional<quint32> second = type ? in.u32() : std::nullopt;
    const std::optional<quint32> count = second ? in.u32() : std::nullopt;
    if (!count)
        return Failure{endsEarly(QStringLiteral("the outfit's name and numbers"), in.position())};
    if (*count >= quint32(kMaxSkinCount))
        return Failure{QStringLiteral("it gives %1 skins; with the mesh the new file would hold "
                                      "more than %2, the most a character file can hold.")
                           .arg(*count)
                           .arg(kMaxSkinCount)};
    if (qsizetype(*count) * kLeastSkinBytes > in.remaining())
        return Failure{QStringLiteral("it gives %1 skins, but only %2 bytes follow, too few for "
                                      "them; it is cut short or damaged.")
                           .arg(*count)
                           .arg(in.remaining())};
    character.name = *name;
    character.type = *type;
    character.second = *second;
    character.skins.reserve(*count);
    for (quint32 k = 0; k < *count; ++k) {
        Skin skin;
        const std::optional<QByteArray> bone = in.string();
        const std::optional<QByteArray> mesh = bone ? in.string() : std::nullopt;
        const std::optional<quint32> flags = mesh ? in.u32() : std::nullopt;
        const std::optional<quint32> more = flags ? in.u32() : std::nullopt;
        if (!more)
            return Failure{
                endsEarly(QStringLiteral("skin %1 of %2").arg(k + 1).arg(*count), in.position())};
        character.skins.append({*bone, *mesh, *flags, *more});
    }
    const std::optional<quint32> skills = in.u32();
    if (!skills)
        return Failure{endsEarly(QStringLiteral("the count of skills"), in.position())};
    if (*skills != 0)
        return Failure{
            QStringLiteral("it holds %1 besides its outfit; a character file holds "
                           "none, so it is another kind of file.")
                .arg(plural(*skills, QStringLiteral("skill"), QStringLiteral("skills")))};
    if (!in.atEnd())
        return Failure{QStringLiteral("%1 bytes follow the end of the character (at byte %2); "
                                      "the file is damaged or another kind of file.")
                           .arg(in.remaining())
                           .arg(in.position())};
    return character;
}

QByteArray binaryOfCharacter(const Character &character)
{
    QByteArray out;
    appendU32(out, 0);
    appendU32(out, 1);
    appendString(out, character.name);
    appendU32(out, character.type);
    appendU32(out, character.second);
    appendU32(out, quint32(character.skins.size()));
    for (const Skin &skin : character.skins) {
        appendString(out, skin.bone);
        appendString(out, skin.mesh);
        appendU32(out, skin.censorFlags);
        appendU32(out, skin.second);
    }
    appendU32(out, 0);
    return out;
}

} // namespace kelvane
