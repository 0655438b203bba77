// Throughput of the create command on a large character file, next to the
// floor: reading and writing the same bytes with no composing at all.
#include "base/linelist.h"
#include "tests/support/attachedcmxfile.h"
#include "tests/support/composeattached.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kGroups = 10000;

QByteArray largeCharacterFile()
{
    QByteArray text = "// Character File. Copyright 1997, Maxis Inc.\r\nversion 300\r\n0\r\n1\r\n"
                      "B001FAFit_01\r\n0\r\n0\r\n" +
                      QByteArray::number(kGroups) + "\r\n";
    for (int k = 0; k < kGroups; ++k)
        text += "SPINE" + QByteArray::number(k) + "\r\nxskin-b001fafit_01-SPINE-BODY" +
                QByteArray::number(k) + "\r\n0\r\n0\r\n";
    return text + "0\r\n";
}

QByteArray largeMeshFile()
{
    QByteArray text = "glasses\r\nglasses-tex\r\n1\r\nHEAD\r\n";
    while (text.size() < 4 * 1024 * 1024)
        text += "0.1250 0.2500 0.3750 0.5000 0.6250\r\n";
    return text;
}

// The input files, written once for every benchmark of the run.
struct Fixture {
    Fixture()
    {
        write(dir.filePath("B001FAFit_01.cmx"), character);
        write(dir.filePath("glasses.skn"), largeMeshFile());
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }

    QTemporaryDir dir;
    QByteArray character = largeCharacterFile();
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void BM_CreateAttachedCmxFile(benchmark::State &state)
{
    const QString folder = QDir::toNativeSeparators(fixture().dir.path());
    for (auto _ : state) {
        // Without backups: each run replaces the last one's file and would keep
        // its content under a new name.
        const kelvane::Result<kelvane::CreatedFile> result =
            kelvane::CreateAttachedCmxFile(folder, "B001FAFit_01.cmx", folder, "glasses.skn",
                                           "B001FAFit_new", folder, {kelvane::Backup::Skip});
        if (!result.ok())
            state.SkipWithError(qPrintable(result.error()));
    }
    state.SetBytesProcessed(state.iterations() * fixture().character.size());
}
BENCHMARK(BM_CreateAttachedCmxFile)->Unit(benchmark::kMillisecond);

void BM_PlainReadWriteCopy(benchmark::State &state)
{
    const QString from = fixture().dir.filePath("B001FAFit_01.cmx");
    const QString to = fixture().dir.filePath("copy.cmx");
    for (auto _ : state) {
        QFile in(from);
        QFile out(to);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
            state.SkipWithError("cannot open");
        benchmark::DoNotOptimize(out.write(in.readAll()));
    }
    state.SetBytesProcessed(state.iterations() * fixture().character.size());
}
BENCHMARK(BM_PlainReadWriteCopy)->Unit(benchmark::kMillisecond);

void BM_ComposeOnTexts(benchmark::State &state)
{
    const kelvane::LineList skin = kelvane::splitLines(fixture().character);
    const kelvane::LineList mesh = kelvane::splitLines(largeMeshFile().left(400));
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvane::ComposeAttachedCmx(skin, mesh, "B001FAFit_new"));
    state.SetBytesProcessed(state.iterations() * fixture().character.size());
}
BENCHMARK(BM_ComposeOnTexts)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
