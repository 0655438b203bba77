#include "formats/textcharacter.h"

#include "base/messagetext.h"

#include <limits>

namespace kelvane {

namespace {

constexpr int kFirstGroupLine = 8;
constexpr int kLinesPerGroup = 4;
constexpr int kVersionLine = 1;
constexpr int kOutfitCountLine = 3;

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
const QByteArray kHeading = QByteArrayLiteral("// Character File. Copyright 1997, Maxis Inc.\r\n"
                                              "Version 300\r\n"
                                              "0\r\n"
                                              "1\r\n");

std::optional<QString> headingFault(const LineList &skinLines)
{
    if (!isVersionLine(skinLines[kVersionLine]))
        return QStringLiteral("line %1 should be \"version\" and a number, but it is %2; "
                              "this is not a character file.")
            .arg(kVersionLine)
            .arg(quotedBytes(skinLines[kVersionLine]));
    if (trimmedBlanks(skinLines[kOutfitCountLine]) != "1")
        return QStringLiteral("line %1 should be \"1\" (one outfit), but it is %2; a file "
                              "with several outfits would lose all but the first.")
            .arg(kOutfitCountLine)
            .arg(quotedBytes(skinLines[kOutfitCountLine]));
    return std::nullopt;
}

// Lines a character file needs for count skin groups: through line 7 when it
// has none, otherwise through the mesh name of the last group.
qsizetype linesNeededFor(qint64 count)
{
    return count == 0 ? kSkinCountLine + 1 : kFirstGroupLine + kLinesPerGroup * count - 2;
}

} // namespace

std::optional<qint64> parseSkinCount(QByteArrayView line)
{
    line = trimmedBlanks(line);
    if (line.isEmpty())
        return std::nullopt;

    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (const char c : line) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const int digit = c - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return value;
}

qsizetype characterLinesUsed(QByteArrayView countLine)
{
    const std::optional<qint64> count = parseSkinCount(countLine);
    if (!count || *count >= kMaxSkinCount)
        return kSkinCountLine + 1;
    return linesNeededFor(*count);
}

LineList splitCharacterFile(const QByteArray &text)
{
    const LineList head = splitLines(text, kSkinCountLine + 1);
    if (head.size() <= kSkinCountLine)
        return head;
    return splitLines(text, characterLinesUsed(head[kSkinCountLine]));
}

Result<Character> textCharacterOf(const LineList &skinLines)
{
    if (skinLines.isEmpty())
        return Failure{QStringLiteral("the file is empty.")};
    if (skinLines.size() <= kSkinCountLine)
        return Failure{
            QStringLiteral("line %1 (the number of skins) is missing; the file has only %2.")
                .arg(kSkinCountLine)
                .arg(skinLines.size() == 1 ? QStringLiteral("1 line")
                                           : QStringLiteral("%1 lines").arg(skinLines.size()))};
    if (std::optional<QString> fault = headingFault(skinLines))
        return Failure{*fault};
    const std::optional<qint64> count = parseSkinCount(skinLines[kSkinCountLine]);
    if (!count)
        return Failure{QStringLiteral("line %1 should be the number of skins, but it is %2.")
                           .arg(kSkinCountLine)
                           .arg(quotedBytes(skinLines[kSkinCountLine]))};
    if (*count >= kMaxSkinCount)
        return Failure{
            QStringLiteral("line %1 gives %2 skins; with the mesh the new file would hold more "
                           "than %3, the most a character file can hold.")
                .arg(kSkinCountLine)
                .arg(*count)
                .arg(kMaxSkinCount)};

    if (skinLines.size() < linesNeededFor(*count)) {
        // The first line the groups need that the file lacks; flag lines are not needed.
        qsizetype offset = skinLines.size() - kFirstGroupLine;
        if (offset % kLinesPerGroup >= 2)
            offset += kLinesPerGroup - offset % kLinesPerGroup;
        return Failure{
            QStringLiteral("line %1 (the %2 of skin %3) is missing; line %4 gives %5 skins, "
                           "but the file ends after %6 lines.")
                .arg(kFirstGroupLine + offset)
                .arg(offset % kLinesPerGroup == 0 ? QStringLiteral("bone name")
                                                  : QStringLiteral("mesh name"))
                .arg(offset / kLinesPerGroup + 1)
                .arg(kSkinCountLine)
                .arg(*count)
                .arg(skinLines.size())};
    }

    Character character;
    character.skins.reserve(*count);
    for (qsizetype first = kFirstGroupLine; character.skins.size() < *count;
         first += kLinesPerGroup)
        character.skins.append({skinLines[first], skinLines[first + 1]});
    return character;
}

bool looksLikeTextCharacter(const QByteArray &start)
{
    const LineList lines = splitLines(start, kVersionLine + 2);
    return lines.size() > kVersionLine + 1 && isVersionLine(lines[kVersionLine]);
}

QByteArray textOfCharacter(const Character &character)
{
    qsizetype copied = 0;
    for (const Skin &skin : character.skins)
        copied += skin.bone.size() + skin.mesh.size();
    QByteArray text;
    text.reserve(kHeading.size() + character.name.size() + copied +
                 16 * (character.skins.size() + 4));
    const auto appendLine = [&text](QByteArrayView line) {
        text += line;
        text += kCrLf;
    };
    text += kHeading;
    appendLine(character.name);
    appendLine(QByteArray::number(character.type));
    appendLine(QByteArray::number(character.second));
    appendLine(QByteArray::number(character.skins.size()));
    for (const Skin &skin : character.skins) {
        appendLine(skin.bone);
        appendLine(skin.mesh);
        appendLine(QByteArray::number(skin.censorFlags));
        appendLine(QByteArray::number(skin.second));
    }
    text += "0";
    return text;
}

} // namespace kelvane
