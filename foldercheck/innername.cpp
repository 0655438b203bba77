#include "foldercheck/innername.h"

#include "base/linelist.h"
#include "formats/characterformat.h"

namespace kelvane {

namespace {

// The text layout's name line, and the binary layout's name: after the u32
// counts of skeletons (0) and suits (1), a length byte and the bytes.
constexpr int kNameLine = 4;
constexpr qsizetype kBinaryNameOffset = 8;

Result<QByteArray> textWithName(const QByteArray &bytes, const QByteArray &name)
{
    const QByteArray lineEnd = lineEndOf(bytes).toByteArray();
    if (lineEnd.isEmpty() || name.contains('\r') || name.contains('\n'))
        return Failure{QStringLiteral("its name line cannot be found.")};
    qsizetype start = 0;
    for (int line = 0; line < kNameLine; ++line) {
        const qsizetype end = bytes.indexOf(lineEnd, start);
        if (end < 0)
            return Failure{QStringLiteral("its name line cannot be found.")};
        start = end + lineEnd.size();
    }
    const qsizetype end = bytes.indexOf(lineEnd, start);
    if (end < 0)
        return Failure{QStringLiteral("its name line cannot be found.")};
    return bytes.left(start) + name + bytes.mid(end);
}

Result<QByteArray> binaryWithName(const QByteArray &bytes, const QByteArray &name)
{
    if (name.size() > 255)
        return Failure{QStringLiteral("the name is longer than 255 bytes.")};
    const qsizetype oldLength = quint8(bytes.at(kBinaryNameOffset));
    return bytes.left(kBinaryNameOffset) + char(quint8(name.size())) + name +
           bytes.mid(kBinaryNameOffset + 1 + oldLength);
}

} // namespace

QByteArray innerNameOf(const QByteArray &bytes, const Character &character)
{
    if (character.format == CharacterFormat::Binary)
        return character.name;
    return splitLines(bytes, kNameLine + 1).value(kNameLine);
}

Result<QByteArray> withInnerName(const QByteArray &bytes, const QByteArray &name)
{
    const Result<Character> before = characterOf(bytes);
    if (!before.ok())
        return Failure{before.error()};
    const Result<QByteArray> changed = before.value().format == CharacterFormat::Text
                                           ? textWithName(bytes, name)
                                           : binaryWithName(bytes, name);
    if (!changed.ok())
        return changed;
    // The same character under its new name, or the edit is refused.
    const Result<Character> after = characterOf(changed.value());
    if (!after.ok() || innerNameOf(changed.value(), after.value()) != name ||
        after.value().skins.size() != before.value().skins.size())
        return Failure{QStringLiteral("its name cannot be changed without changing more.")};
    return changed;
}

} // namespace kelvane
