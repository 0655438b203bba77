#include "base/filekind.h"
#include "formats/fararchive.h"
#include "inputs/archivecharacters.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"
#include "tests/support/results.h"

#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;
namespace ts = testsupport;
using ts::errorOf;
using ts::kBody;

// Skeletons and animations named as character files are told by their first
// bytes, binary or text, whether an entry lies alone or among others; case
// twins are each found by their own name.
TEST(FarArchiveRead, TellsSkeletonsAndAnimationsWhereverTheyLie)
{
    ts::BinaryCharacter skeleton, skill;
    skeleton.skeletons = 1;
    skill.suits = 0;
    skill.skills = 3;
    const QByteArray filler(16 * 1024, 'f');
    const QByteArray text = ts::characterFile({{"HEAD", "xskin-HEAD"}});
    const QList<ts::ArchivedFile> files = {
        {"Skins\\adult-skeleton.cmx", ts::skeletonFile(1.0f)},
        {"a.bin", filler},
        {"Skins\\B.cmx.bcf", ts::binaryCharacterFile(kBody)},
        {"b.bin", filler},
        {"a2o-skill.cmx.bcf", ts::binaryCharacterFile(skill)},
        {"c.bin", filler},
        {"Skins\\C.cmx", text},
        {"d.bin", filler},
        // Three lying close together, read at once.
        {"Skins\\twin.cmx.bcf", ts::binaryCharacterFile(skeleton)},
        {"Skins\\TWIN.cmx.bcf", ts::binaryCharacterFile(kBody)},
        {"Skins\\child-skeleton.cmx", ts::skeletonFile(2.0f)},
        {"e.bin", filler},
        {"Skins\\empty.cmx", ""}};
    QTemporaryDir dir;
    const QString path = dir.filePath("a.far");
    ASSERT_TRUE(ts::writeFile(path, ts::farArchive(files)));
    const Result<FarArchive> archive = FarArchive::open(path);
    ASSERT_TRUE(archive.ok()) << errorOf(archive);
    const QSet<qsizetype> others = entriesHoldingNoCharacter(archive.value(), fileStamp(path));
    EXPECT_EQ(others, QSet<qsizetype>({0, 4, 8, 10}));
    EXPECT_EQ(archive.value().find("skins/twin.cmx.bcf"), &archive.value().entries()[8]);
    EXPECT_EQ(archive.value().find("Skins/TWIN.cmx.bcf"), &archive.value().entries()[9]);
    EXPECT_EQ(archive.value().find("SKINS/Twin.CMX.bcf"), &archive.value().entries()[8]);
}
