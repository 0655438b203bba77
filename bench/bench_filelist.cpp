// How long a file list takes from a Path write to a complete, painted list,
// next to a plain listing of the same folder.

#include "controls/filelist.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>

#include <map>

namespace {

// A skins folder of fileCount files, created once per size: three in four
// match "*.cmx" (some in upper case), the rest are bitmaps.
QString folderOf(int fileCount)
{
    static QTemporaryDir root;
    static std::map<int, QString> folders;
    if (const auto found = folders.find(fileCount); found != folders.end())
        return found->second;
    const QString folder = root.filePath(QString::number(fileCount));
    QDir().mkpath(folder);
    static const char *const extensions[] = {".cmx", ".cmx", ".CMX", ".bmp"};
    for (int i = 0; i < fileCount; ++i) {
        QFile file(QStringLiteral("%1/B%2FAFit_%3%4")
                       .arg(folder)
                       .arg(i % 1000, 3, 10, QLatin1Char('0'))
                       .arg(i)
                       .arg(QLatin1String(extensions[i % 4])));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(file.fileName()));
    }
    return folders.emplace(fileCount, folder).first->second;
}

void plainListing(benchmark::State &state)
{
    const QString folder = folderOf(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(QDir(folder).entryList(QDir::Files, QDir::NoSort));
}

void fileListPathWrite(benchmark::State &state)
{
    const QString folder = folderOf(int(state.range(0)));
    kelvane::FileList list({QStringLiteral("*.cmx")});
    list.resize(241, 78);
    list.show();
    QWidget *viewport = list.findChild<QListView *>()->viewport();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        list.setPath(folder);
        QCoreApplication::processEvents();
        viewport->repaint();
    }
}

} // namespace

BENCHMARK(plainListing)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(fileListPathWrite)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
