#include "compose/cmxcomposer.h"

#include "compose/messagetext.h"

#include <limits>

namespace kelvane {

namespace {

constexpr int kFirstGroupLine = 8;
constexpr int kLinesPerGroup = 4;
constexpr int kMeshNameLine = 0;
constexpr int kMeshBoneCountLine = 2;
constexpr int kMeshBoneLine = 3;
constexpr int kVersionLine = 1;
constexpr int kOutfitCountLine = 3;

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
const QByteArray kHeading = QByteArrayLiteral("// Character File. Copyright 1997, Maxis Inc.\r\n"
                                              "Version 300\r\n"
                                              "0\r\n"
                                              "1\r\n");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView line)
{
    while (!line.isEmpty() && isBlank(line.front()))
        line = line.sliced(1);
    while (!line.isEmpty() && isBlank(line.back()))
        line.chop(1);
    return line;
}

// Line 1 of every character file the game writes: "version" and a number.
bool isVersionLine(QByteArrayView line)
{
    const QByteArrayView word = "version";
    line = trimmed(line);
    return line.size() > word.size() &&
           QByteArrayView(line.first(word.size())).compare(word, Qt::CaseInsensitive) == 0 &&
           parseSkinCount(line.sliced(word.size())).has_value();
}

std::optional<Result<QList<Skin>>> headingFault(const LineList &skinLines)
{
    if (!isVersionLine(skinLines[kVersionLine]))
        return Failure{QStringLiteral("line %1 should be \"version\" and a number, but it is %2; "
                                      "this is not a character file.")
                           .arg(kVersionLine)
                           .arg(quotedBytes(skinLines[kVersionLine]))};
    if (trimmed(skinLines[kOutfitCountLine]) != "1")
        return Failure{QStringLiteral("line %1 should be \"1\" (one outfit), but it is %2; a file "
                                      "with several outfits would lose all but the first.")
                           .arg(kOutfitCountLine)
                           .arg(quotedBytes(skinLines[kOutfitCountLine]))};
    return std::nullopt;
}

// Lines a character file needs for count skin groups: through line 7 when it
// has none, otherwise through the mesh name of the last group.
qsizetype linesNeededFor(qint64 count)
{
    return count == 0 ? kSkinCountLine + 1 : kFirstGroupLine + kLinesPerGroup * count - 2;
}

ComposeResult fail(ComposeFailure::Input input, const QString &reason)
{
    return Failure{ComposeFailure{input, reason}};
}

} // namespace

std::optional<qint64> parseSkinCount(QByteArrayView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;

    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char c = line[i];
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

Result<QList<Skin>> skinsOf(const LineList &skinLines)
{
    if (skinLines.isEmpty())
        return Failure{QStringLiteral("the file is empty.")};
    if (skinLines.size() <= kSkinCountLine)
        return Failure{
            QStringLiteral("line %1 (the number of skins) is missing; the file has only %2.")
                .arg(kSkinCountLine)
                .arg(skinLines.size() == 1 ? QStringLiteral("1 line")
                                           : QStringLiteral("%1 lines").arg(skinLines.size()))};
    if (std::optional<Result<QList<Skin>>> fault = headingFault(skinLines))
        return std::move(*fault);
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

    QList<Skin> skins;
    skins.reserve(*count);
    for (qsizetype first = kFirstGroupLine; skins.size() < *count; first += kLinesPerGroup)
        skins.append({skinLines[first], skinLines[first + 1]});
    return skins;
}

LineList splitMeshStart(const QByteArray &start)
{
    LineList lines = splitLines(start);
    // Cut between CR and LF, the last line would keep the CR of its line end.
    if (start.size() >= kMeshBytesRead && lines.last().endsWith('\r'))
        lines.last().chop(1);
    return lines;
}

Result<Skin> attachedSkinOf(const LineList &meshLines)
{
    if (meshLines.size() <= kMeshBoneLine)
        return Failure{QStringLiteral("line %1 (the bone the mesh attaches to) does not begin "
                                      "within the file's first 400 bytes.")
                           .arg(kMeshBoneLine)};
    const std::optional<qint64> bones = parseSkinCount(meshLines[kMeshBoneCountLine]);
    if (!bones || *bones < 1)
        return Failure{QStringLiteral("line %1 should be the number of bones (a whole number, at "
                                      "least 1), but it is %2; this is not a mesh file.")
                           .arg(kMeshBoneCountLine)
                           .arg(quotedBytes(meshLines[kMeshBoneCountLine]))};
    if (meshLines[kMeshNameLine].isEmpty())
        return Failure{QStringLiteral("line %1 (the mesh name) is empty.").arg(kMeshNameLine)};
    if (meshLines[kMeshBoneLine].isEmpty())
        return Failure{
            QStringLiteral("line %1 (the bone the mesh attaches to) is empty.").arg(kMeshBoneLine)};
    return Skin{meshLines[kMeshBoneLine], meshLines[kMeshNameLine]};
}

ComposeResult ComposeAttachedCmx(const LineList &skinLines, const LineList &meshLines,
                                 const QString &newName)
{
    const Result<NewName> name = checkNewName(newName);
    if (!name.ok())
        return fail(ComposeFailure::Input::NewName, name.error());
    return ComposeAttachedCmx(skinLines, meshLines, name.value());
}

ComposeResult ComposeAttachedCmx(const LineList &skinLines, const LineList &meshLines,
                                 const NewName &newName)
{
    const Result<QList<Skin>> skinsRead = skinsOf(skinLines);
    if (!skinsRead.ok())
        return fail(ComposeFailure::Input::CharacterFile, skinsRead.error());
    const Result<Skin> attachedRead = attachedSkinOf(meshLines);
    if (!attachedRead.ok())
        return fail(ComposeFailure::Input::MeshFile, attachedRead.error());

    const QList<Skin> &skins = skinsRead.value();
    const Skin &attached = attachedRead.value();
    qsizetype copied = 0;
    for (const Skin &skin : skins)
        copied += skin.bone.size() + skin.mesh.size();
    QByteArray text;
    text.reserve(kHeading.size() + newName.text().size() + copied + 12 * skins.size() + 64 +
                 attached.bone.size() + attached.mesh.size());
    const auto appendLine = [&text](QByteArrayView line) {
        text += line;
        text += kCrLf;
    };
    text += kHeading;
    appendLine(newName.text().toLatin1());
    appendLine("0");
    appendLine("0");
    appendLine(QByteArray::number(skins.size() + 1));
    for (const Skin &skin : skins) {
        appendLine(skin.bone);
        appendLine(skin.mesh);
        appendLine("0");
        appendLine("0");
    }
    appendLine(attached.bone);
    appendLine(attached.mesh);
    appendLine("0");
    appendLine("0");
    text += "0";
    return text;
}

} // namespace kelvane
