// Replays the seed corpora of the readers' fuzz targets through the same
// invariants, so that every build, the sanitizer build among them, runs the
// readers over valid, damaged and foreign files alike.
#include "tests/fuzz/readerinvariants.h"
#include "tests/support/files.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(FuzzSeeds, EverySeedKeepsTheReadersInvariants)
{
    using namespace readerinvariants;
    const std::pair<const char *, Fault (*)(QByteArrayView)> corpora[] = {
        {"corpus-character-binary", characterFault},
        {"corpus-mesh", meshFault},
        {"corpus-far", archiveFault},
        {"corpus-mesh-geometry", meshGeometryFault},
        {"corpus-skeleton", skeletonFault},
        {"corpus-texture", textureFault},
    };
    for (const auto &[folder, faultOf] : corpora) {
        const QDir corpus(QStringLiteral(KELVANE_FUZZ_FOLDER "/") + QLatin1String(folder));
        const QStringList seeds = corpus.entryList(QDir::Files);
        EXPECT_GE(seeds.size(), 5) << corpus.path().toStdString();
        for (const QString &seed : seeds) {
            const Fault fault = faultOf(testsupport::readFile(corpus.filePath(seed)));
            EXPECT_FALSE(fault) << folder << "/" << seed.toStdString() << ": "
                                << fault.value_or("");
        }
    }
}
