// Fuzzes the composer's text functions. The input holds a character file,
// then optionally a mesh file and a new name, each after a marker line; the
// seed corpus in corpus/ shows the shape.
#include "base/linelist.h"
#include "compose/newname.h"
#include "formats/textcharacter.h"
#include "formats/textmesh.h"
#include "tests/support/composeattached.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

const QByteArray kMeshMarker = "\n===MESH===\n";
const QByteArray kNameMarker = "\n===NAME===\n";

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

struct Inputs {
    QByteArray character;
    QByteArray mesh = "hat\r\ntex\r\n1\r\nHEAD\r\n";
    QString name = QStringLiteral("B001FAFit_new");
};

Inputs parse(const QByteArray &data)
{
    Inputs inputs;
    QByteArray rest = data;
    if (const qsizetype at = rest.indexOf(kNameMarker); at >= 0) {
        inputs.name = QString::fromUtf8(rest.mid(at + kNameMarker.size()));
        rest.truncate(at);
    }
    if (const qsizetype at = rest.indexOf(kMeshMarker); at >= 0) {
        inputs.mesh = rest.mid(at + kMeshMarker.size()).left(kelvane::kMeshBytesRead);
        rest.truncate(at);
    }
    inputs.character = rest;
    return inputs;
}

void checkComposed(const kelvane::LineList &skin, const kelvane::LineList &mesh,
                   const kelvane::ComposeResult &result)
{
    const qint64 count = *kelvane::parseSkinCount(skin[7]);
    const kelvane::LineList out = kelvane::splitLines(result.value() + "\r\n");
    require(out.size() == 13 + 4 * count + 1, "line count of the output");
    require(out[1] == "Version 300", "fixed heading");
    require(out[7] == QByteArray::number(count + 1), "new count");
    for (qint64 k = 0; k < count; ++k) {
        require(out[8 + 4 * k] == skin[8 + 4 * k], "copied bone line");
        require(out[9 + 4 * k] == skin[9 + 4 * k], "copied mesh line");
    }
    require(out[8 + 4 * count] == mesh[3] && out[9 + 4 * count] == mesh[0], "mesh group");
    require(!mesh[3].isEmpty() && !mesh[0].isEmpty(), "the mesh group names a bone and a mesh");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Inputs inputs = parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    const kelvane::LineList all = kelvane::splitLines(inputs.character);
    const kelvane::LineList skin = kelvane::splitCharacterFile(inputs.character);
    require(skin.size() <= all.size(), "bounded split is a prefix");
    for (qsizetype i = 0; i < skin.size(); ++i)
        require(skin[i] == all[i], "bounded split agrees with the full split");

    const kelvane::LineList mesh = kelvane::splitMeshStart(inputs.mesh);
    const kelvane::ComposeResult result = kelvane::ComposeAttachedCmx(skin, mesh, inputs.name);
    if (!kelvane::checkNewName(inputs.name).ok())
        require(!result.ok(), "a refused name is never composed");
    if (result.ok())
        checkComposed(skin, mesh, result);

    // A field never holds "_", so the previous suffix "_" comes back only when
    // the proposal has no field to take the suffix from.
    const QString proposal = kelvane::proposeNewName(inputs.name, QStringLiteral("new"));
    require(kelvane::suffixOfName(proposal, QStringLiteral("_")) != QStringLiteral("_"),
            "a proposal always carries a suffix field");
    return 0;
}
