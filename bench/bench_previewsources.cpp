// Finding what the preview of a character draws, as the game finds it: a
// body of 24 skins inside a FAR archive of 10,000 entries, its meshes, their
// textures, its own texture in three tones and the skeleton in the same
// archive, beside a GameData/Skins of 2,000 loose files. Target: at most
// 100 ms, the archive's first opening included.
#include "game/previewsources.h"
#include "tests/support/files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

namespace ts = testsupport;

constexpr int kEntries = 10000;
constexpr int kLooseFiles = 2000;
constexpr int kSkins = 24;

QByteArray meshName(int k)
{
    return "xskin-b000fafit_5000-BONE" + QByteArray::number(k) + "-BODY";
}

struct Fixture {
    Fixture()
    {
        const QString skins = game + QStringLiteral("/GameData/Skins");
        if (!QDir().mkpath(skins) || !QDir().mkpath(game + QStringLiteral("/ExpansionShared")))
            qFatal("cannot create the game folder");
        for (int i = 0; i < kLooseFiles; ++i) {
            if (!ts::writeFile(skins + QStringLiteral("/C%1MA_loose.cmx").arg(i), "x"))
                qFatal("cannot write into %s", qPrintable(skins));
        }
        QList<ts::ArchivedFile> files;
        for (int k = 0; k < kSkins; ++k) {
            character.skins.append({"BONE" + QByteArray::number(k), meshName(k)});
            files.append({"Skins\\" + meshName(k) + ".bmf",
                          ts::binaryMeshFile(meshName(k), "tex" + QByteArray::number(k),
                                             {"BONE" + QByteArray::number(k)}, 4096)});
            files.append({"Skins\\tex" + QByteArray::number(k) + ".bmp", "BM"});
        }
        for (const char *tone : {"lgt", "med", "drk"})
            files.append({"Skins\\B000FAFit" + QByteArray(tone) + "_5000.bmp", "BM"});
        files.append(ts::ArchivedFile{"Skins\\B000FAFit_5000.cmx.bcf", "bcf"});
        files.append(ts::ArchivedFile{"adult-skeleton.cmx.bcf", "bcf"});
        for (int i = int(files.size()); i < kEntries; ++i)
            files.append(
                ts::ArchivedFile{"Skins\\B" + QByteArray::number(i) + "FAFit_01.cmx.bcf", "bcf"});
        if (!ts::writeFile(archive, ts::farArchive(files)))
            qFatal("cannot write %s", qPrintable(archive));
    }

    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("The Sims"));
    const QString archive = game + QStringLiteral("/ExpansionShared/ExpansionShared.far");
    kelvane::Character character;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

kelvane::PreviewSourcesRequest request(const kelvane::Character &character)
{
    return {fixture().archive + QStringLiteral("/Skins/B000FAFit_5000.cmx.bcf"),
            character,
            {},
            {},
            {fixture().game}};
}

void check(benchmark::State &state, const kelvane::PreviewSources &found, qsizetype missing)
{
    if (!found.skeleton || found.missing.size() != missing)
        state.SkipWithError("the files were not found as expected");
}

// Each time as the preview opens a character first: the archive changed on
// disk, so its manifest is read and indexed again.
void BM_FindAfterTheArchiveChanged(benchmark::State &state)
{
    const kelvane::PreviewSourcesRequest wanted = request(fixture().character);
    int touch = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!testsupport::touchFile(fixture().archive, ++touch))
            state.SkipWithError("cannot touch the archive");
        state.ResumeTiming();
        check(state, kelvane::findPreviewSources(wanted), 0);
    }
}
BENCHMARK(BM_FindAfterTheArchiveChanged)->Unit(benchmark::kMillisecond);

// Another character of the same archive: its index is kept.
void BM_FindWithTheArchiveKept(benchmark::State &state)
{
    const kelvane::PreviewSourcesRequest wanted = request(fixture().character);
    for (auto _ : state)
        check(state, kelvane::findPreviewSources(wanted), 0);
}
BENCHMARK(BM_FindWithTheArchiveKept)->Unit(benchmark::kMillisecond);

// The worst case: no mesh is anywhere, so each is looked for in every place.
void BM_FindNothing(benchmark::State &state)
{
    kelvane::Character nowhere = fixture().character;
    for (kelvane::Skin &skin : nowhere.skins)
        skin.mesh += "-nowhere";
    const kelvane::PreviewSourcesRequest wanted = request(nowhere);
    for (auto _ : state)
        check(state, kelvane::findPreviewSources(wanted), kSkins);
}
BENCHMARK(BM_FindNothing)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
