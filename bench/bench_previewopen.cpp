// Opening a preview whose textures are found by prefix: a body on PELVIS, a
// head on HEAD and the skeleton, each character's textures in three tones
// under labels other than its file's, among 10,000 other files; once in a
// folder, once in a FAR archive (its index kept, as when the player opens
// a second preview). Target: at most 100 ms each.
#include "preview/previewscene.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

namespace ts = testsupport;

constexpr int kFiles = 10000;

QByteArray bmp(QRgb colour)
{
    QImage image(64, 64, QImage::Format_Indexed8);
    image.setColorTable({colour});
    image.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

struct Fixture {
    Fixture()
    {
        QList<ts::ArchivedFile> files{
            {"B100MAFit_01.cmx", ts::characterFile({{"PELVIS", "xskin-b100mafit_01-PELVIS-BODY"}})},
            {"C100MA_pat.cmx", ts::characterFile({{"HEAD", "xskin-c100ma_pat-HEAD-HEAD"}})},
            {"xskin-b100mafit_01-PELVIS-BODY.skn",
             ts::squareMeshFile("xskin-b100mafit_01-PELVIS-BODY", "x", "PELVIS", 0, 1)},
            {"xskin-c100ma_pat-HEAD-HEAD.skn",
             ts::squareMeshFile("xskin-c100ma_pat-HEAD-HEAD", "x", "HEAD", 0, 0.3f)},
            {"adult-skeleton.cmx", ts::skeletonFile(3)}};
        for (const char *tone : {"lgt", "med", "drk"}) {
            files.append({"B100MAFit" + QByteArray(tone) + "_casual.bmp", bmp(qRgb(0, 0, 200))});
            files.append({"C100MA" + QByteArray(tone) + "_patrick.bmp", bmp(qRgb(200, 0, 0))});
        }
        for (int i = int(files.size()); i < kFiles; ++i)
            files.append({"B" + QByteArray::number(100000 + i) + "MAFitlgt_other.bmp", "BM"});
        if (!QDir().mkpath(folder))
            qFatal("cannot create %s", qPrintable(folder));
        for (const ts::ArchivedFile &file : std::as_const(files)) {
            if (!ts::writeFile(folder + QLatin1Char('/') + QString::fromLatin1(file.name),
                               file.bytes))
                qFatal("cannot write into %s", qPrintable(folder));
        }
        if (!ts::writeFile(archive, ts::farArchive(files)))
            qFatal("cannot write %s", qPrintable(archive));
    }

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Skins"));
    const QString archive = dir.filePath(QStringLiteral("Skins.far"));
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void open(benchmark::State &state, const QString &place)
{
    const kelvane::PreviewRequest request{place + QStringLiteral("/B100MAFit_01.cmx"),
                                          {},
                                          {},
                                          {place + QStringLiteral("/C100MA_pat.cmx")}};
    for (auto _ : state) {
        const kelvane::Result<kelvane::PreviewScene> scene = kelvane::loadPreviewScene(request);
        if (!scene.ok())
            state.SkipWithError(qPrintable(scene.error()));
        else if (scene.value().tones().size() != 3 || scene.value().labels(QStringLiteral("lgt")) !=
                                                          QStringList{QStringLiteral("casual")})
            state.SkipWithError("the textures were not found as expected");
    }
}

void BM_OpenPreviewInFolder(benchmark::State &state)
{
    open(state, fixture().folder);
}
BENCHMARK(BM_OpenPreviewInFolder)->Unit(benchmark::kMillisecond);

void BM_OpenPreviewInArchive(benchmark::State &state)
{
    open(state, fixture().archive);
}
BENCHMARK(BM_OpenPreviewInArchive)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
