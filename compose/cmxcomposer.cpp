#include "cmxcomposer.h"

#include "newname.h"

#include <limits>

namespace kelvane {

namespace {

constexpr int kCountLine = 7;
constexpr int kFirstGroupLine = 8;
constexpr int kLinesPerGroup = 4;
constexpr int kMeshNameLine = 0;
constexpr int kMeshBoneLine = 3;

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
const QByteArray kHeading = QByteArrayLiteral("// Character File. Copyright 1997, Maxis Inc.\r\n"
                                              "Version 300\r\n"
                                              "0\r\n"
                                              "1\r\n");

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A line as it may be quoted in a message: decoded as Latin-1, cut short when long.
QString quoted(QByteArrayView line)
{
    constexpr qsizetype kMaxShown = 40;
    QString shown = QString::fromLatin1(line.first(qMin(line.size(), kMaxShown)));
    if (line.size() > kMaxShown)
        shown += QStringLiteral("...");
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

// Lines a character file needs for count skin groups: through line 7 when it
// has none, otherwise through the mesh name of the last group.
qsizetype linesNeededFor(qint64 count)
{
    return count == 0 ? kCountLine + 1 : kFirstGroupLine + kLinesPerGroup * count - 2;
}

ComposeResult fail(ComposeFailure::Input input, const QString &reason)
{
    return {{}, ComposeFailure{input, reason}};
}

ComposeResult characterFileFault(const QString &reason)
{
    return fail(ComposeFailure::Input::CharacterFile, reason);
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

LineList splitCharacterFile(const QByteArray &text)
{
    const LineList head = splitLines(text, kCountLine + 1);
    const std::optional<qint64> count =
        head.size() > kCountLine ? parseSkinCount(head[kCountLine]) : std::nullopt;
    if (!count || *count >= kMaxSkinCount)
        return head;
    return splitLines(text, linesNeededFor(*count));
}

ComposeResult ComposeAttachedCmx(const LineList &skinLines, const LineList &meshLines,
                                 const QString &newName)
{
    if (const QString problem = newNameProblem(newName); !problem.isEmpty())
        return fail(ComposeFailure::Input::NewName, problem);

    if (skinLines.size() <= kCountLine)
        return characterFileFault(
            QStringLiteral("line %1 (the number of skins) is missing; the file has only %2 lines.")
                .arg(kCountLine)
                .arg(skinLines.size()));
    const std::optional<qint64> count = parseSkinCount(skinLines[kCountLine]);
    if (!count)
        return characterFileFault(
            QStringLiteral("line %1 should be the number of skins, but it is %2.")
                .arg(kCountLine)
                .arg(quoted(skinLines[kCountLine])));
    if (*count >= kMaxSkinCount)
        return characterFileFault(
            QStringLiteral("line %1 gives %2 skins; with the mesh the new file would hold more "
                           "than %3, the most a character file can hold.")
                .arg(kCountLine)
                .arg(*count)
                .arg(kMaxSkinCount));

    const int groups = int(*count);
    if (skinLines.size() < linesNeededFor(groups)) {
        // The first line the groups need that the file lacks; flag lines are not needed.
        qsizetype offset = skinLines.size() - kFirstGroupLine;
        if (offset % kLinesPerGroup >= 2)
            offset += kLinesPerGroup - offset % kLinesPerGroup;
        return characterFileFault(
            QStringLiteral("line %1 (the %2 of skin %3) is missing; line %4 gives %5 skins, but "
                           "the file ends after %6 lines.")
                .arg(kFirstGroupLine + offset)
                .arg(offset % kLinesPerGroup == 0 ? QStringLiteral("bone name")
                                                  : QStringLiteral("mesh name"))
                .arg(offset / kLinesPerGroup + 1)
                .arg(kCountLine)
                .arg(groups)
                .arg(skinLines.size()));
    }

    if (meshLines.size() <= kMeshBoneLine)
        return fail(ComposeFailure::Input::MeshFile,
                    QStringLiteral("line %1 (the bone the mesh attaches to) does not begin within "
                                   "the file's first 400 bytes.")
                        .arg(kMeshBoneLine));

    qsizetype copied = 0;
    for (int k = 0; k < groups; ++k) {
        const qsizetype first = kFirstGroupLine + kLinesPerGroup * qsizetype(k);
        copied += skinLines[first].size() + skinLines[first + 1].size();
    }
    QByteArray text;
    text.reserve(kHeading.size() + newName.size() + copied + 12 * qsizetype(groups) + 64 +
                 meshLines[kMeshBoneLine].size() + meshLines[kMeshNameLine].size());
    const auto appendLine = [&text](QByteArrayView line) {
        text += line;
        text += kCrLf;
    };
    text += kHeading;
    appendLine(newName.toLatin1());
    appendLine("0");
    appendLine("0");
    appendLine(QByteArray::number(groups + 1));
    for (int k = 0; k < groups; ++k) {
        const qsizetype first = kFirstGroupLine + kLinesPerGroup * qsizetype(k);
        appendLine(skinLines[first]);
        appendLine(skinLines[first + 1]);
        appendLine("0");
        appendLine("0");
    }
    appendLine(meshLines[kMeshBoneLine]);
    appendLine(meshLines[kMeshNameLine]);
    appendLine("0");
    appendLine("0");
    text += "0";
    return {text, std::nullopt};
}

} // namespace kelvane
