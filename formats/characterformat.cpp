#include "formats/characterformat.h"

#include "base/linelist.h"
#include "base/messagetext.h"
#include "formats/binarycharacter.h"
#include "formats/fileformats.h"
#include "formats/textcharacter.h"

namespace kelvane {

namespace {

constexpr qsizetype kLongestStoredName = 255;

} // namespace

QString characterExtension(CharacterFormat format)
{
    return formatFor(format).extension;
}

Result<Character> characterOf(const QByteArray &bytes)
{
    if (isUtf16Text(bytes))
        return Failure{utf16Fault()};
    const FileFormat &format = readerOf(FileRole::Character, bytes, bytes.size());
    return std::get<CharacterReader>(format.reader)(bytes);
}

QByteArray fileBytesOf(const Character &character)
{
    if (character.format == CharacterFormat::Binary)
        return binaryOfCharacter(character);
    return textOfCharacter(character) + "\r\n";
}

std::optional<QString> unstorableName(const Character &character)
{
    if (character.format != CharacterFormat::Binary)
        return std::nullopt;
    const auto tooLong = [](const QByteArray &name, const QString &what) {
        return QStringLiteral("the %1 %2 is %3 bytes long; a binary character file holds names "
                              "of at most %4 bytes.")
            .arg(what, quotedBytes(name), QString::number(name.size()),
                 QString::number(kLongestStoredName));
    };
    if (character.name.size() > kLongestStoredName)
        return tooLong(character.name, QStringLiteral("name"));
    for (const Skin &skin : character.skins) {
        if (skin.bone.size() > kLongestStoredName)
            return tooLong(skin.bone, QStringLiteral("bone name"));
        if (skin.mesh.size() > kLongestStoredName)
            return tooLong(skin.mesh, QStringLiteral("mesh name"));
    }
    return std::nullopt;
}

} // namespace kelvane
