// How long a folder list takes to open a folder of many subfolders, and to
// follow one subfolder added to it, next to a plain listing of the same
// subfolders. Compare the processor times (the CPU column): they do not
// depend on what else the machine runs, and a change shows only a moment
// after it happens, since changes come in bursts, a wait that costs no
// processor time. A change is timed twice: the whole process, then the
// window's thread alone, which the listing leaves free.

#include "controls/directorylist.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <map>

namespace {

// A folder of folderCount subfolders, created once per size, in a folder of
// its own so that the list can be sent elsewhere between openings.
QString folderOf(int folderCount)
{
    static QTemporaryDir root;
    static std::map<int, QString> folders;
    if (const auto found = folders.find(folderCount); found != folders.end())
        return found->second;
    const QString folder = root.filePath(QStringLiteral("%1/Skins").arg(folderCount));
    QDir().mkpath(folder);
    QDir dir(folder);
    for (int i = 0; i < folderCount; ++i) {
        const QString name =
            QStringLiteral("B%1FAFit_%2").arg(i % 1000, 3, 10, QLatin1Char('0')).arg(i);
        if (!dir.mkdir(name))
            qFatal("cannot create %s", qPrintable(dir.filePath(name)));
    }
    return folders.emplace(folderCount, QDir::toNativeSeparators(folder)).first->second;
}

QAbstractItemView *viewOf(kelvane::DirectoryList &list)
{
    return list.findChild<QAbstractItemView *>();
}

void showList(kelvane::DirectoryList &list)
{
    list.resize(241, 160);
    list.show();
    QCoreApplication::processEvents();
}

void plainListing(benchmark::State &state)
{
    const QString folder = folderOf(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort));
    }
}

void directoryListOpen(benchmark::State &state)
{
    const QString folder = folderOf(int(state.range(0)));
    const QString above = QFileInfo(folder).absolutePath();
    kelvane::DirectoryList list(above);
    showList(list);
    QWidget *viewport = viewOf(list)->viewport();
    for (auto _ : state) {
        list.setPath(folder);
        QCoreApplication::processEvents();
        viewport->repaint();

        state.PauseTiming();
        list.setPath(above);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void directoryListSubfolderAdded(benchmark::State &state)
{
    const QString folder = folderOf(int(state.range(0)));
    kelvane::DirectoryList list(folder);
    showList(list);
    QAbstractItemView *view = viewOf(list);
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(folder).mkdir(QStringLiteral("added%1").arg(added++));
        state.ResumeTiming();
        // Waits, without spending processor time, until the new row is in.
        QEventLoop shown;
        QObject::connect(view->model(), &QAbstractItemModel::rowsInserted, &shown,
                         &QEventLoop::quit);
        QTimer::singleShot(60000, &shown, [&] {
            state.SkipWithError("the subfolder added was not listed");
            shown.quit();
        });
        shown.exec();
        QCoreApplication::processEvents();
        view->viewport()->repaint();
    }
    for (int i = 0; i < added; ++i)
        QDir(folder).rmdir(QStringLiteral("added%1").arg(i));
}

} // namespace

BENCHMARK(plainListing)->Arg(100000)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(directoryListOpen)->Arg(100000)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
// The processor time of the whole process, then of the window's thread alone:
// the change is listed on a thread of its own.
BENCHMARK(directoryListSubfolderAdded)
    ->Arg(100000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(directoryListSubfolderAdded)->Arg(100000)->Unit(benchmark::kMillisecond);

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
