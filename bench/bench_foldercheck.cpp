// Checking a whole folder of skins: 10,000 outfits (a character file, its
// mesh and its texture each) in a game's GameData/Skins, beside a game
// archive of 10,000 entries. Target: at most 2 s on one core, the archive's
// manifest read afresh each time.
#include "foldercheck/foldercheck.h"
#include "tests/foldercheck/seededfolder.h"
#include "tests/support/files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

namespace ts = testsupport;

constexpr int kSkins = 10000;
constexpr int kEntries = 10000;

// Three characters of digits and letters, one per outfit.
QByteArray idOf(int n)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const char id[] = {digits[n / 1296 % 36], digits[n / 36 % 36], digits[n % 36]};
    return QByteArray(id, 3);
}

struct Fixture {
    Fixture()
    {
        if (!QDir().mkpath(skins) || !QDir().mkpath(game + QStringLiteral("/ExpansionShared")))
            qFatal("cannot create the game folder");
        const QByteArray texture = ts::bmpFile(8, 32, 32);
        const QDir folder(skins);
        for (int n = 0; n < kSkins; ++n) {
            const QByteArray name = "B" + idOf(n) + "FAFit_01";
            const QByteArray mesh = "xskin-" + name + "-PELVIS-BODY";
            const bool written =
                ts::writeFile(folder.filePath(QString::fromLatin1(name + ".cmx")),
                              ts::namedCharacterFile(name, {mesh, "gamehat"})) &&
                ts::writeFile(folder.filePath(QString::fromLatin1(mesh + ".skn")),
                              ts::meshFile(mesh, "PELVIS")) &&
                ts::writeFile(
                    folder.filePath(QString::fromLatin1("B" + idOf(n) + "FAFitlgt_01.bmp")),
                    texture);
            if (!written)
                qFatal("cannot write into %s", qPrintable(skins));
        }
        QList<ts::ArchivedFile> files{{"Skins\\gamehat.skn", ts::meshFile("gamehat", "HEAD")}};
        for (int i = 1; i < kEntries; ++i)
            files.append({"Skins\\C" + QByteArray::number(i) + "MA_game.cmx.bcf", "bcf"});
        if (!ts::writeFile(archive, ts::farArchive(files)))
            qFatal("cannot write %s", qPrintable(archive));
    }

    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("The Sims"));
    const QString skins = game + QStringLiteral("/GameData/Skins");
    const QString archive = game + QStringLiteral("/ExpansionShared/ExpansionShared.far");
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void BM_CheckTenThousandSkins(benchmark::State &state)
{
    int touch = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!testsupport::touchFile(fixture().archive, ++touch))
            state.SkipWithError("cannot touch the archive");
        state.ResumeTiming();
        const kelvane::FolderReport report =
            kelvane::checkFolder({fixture().skins, {}, QString(), {}, {}});
        if (report.filesChecked != 3 * kSkins || !report.findings.isEmpty())
            state.SkipWithError("the folder was not checked as expected");
    }
}
BENCHMARK(BM_CheckTenThousandSkins)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
