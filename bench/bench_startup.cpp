// Start-up of the main window next to a bare Qt window of the same size: the
// time from launch until the window is on screen, and the peak memory, each as
// a ratio to the bare window's. Each run is a child process of this program;
// the two kinds alternate so that both see the same machine. The child tells
// when its window was first painted: the time a process takes to end after
// that is not part of starting, and varies with what it had open.
//
//   bench_startup [RUNS]      (default 20 of each; under a real display or
//                              xvfb-run, or QT_QPA_PLATFORM=offscreen)

#include "ui/look/look.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

extern char **environ;

namespace {

constexpr const char *kBareMode = "--bare-window";
constexpr const char *kMainMode = "--main-window";
// The child writes the moment its window was shown to this descriptor.
constexpr int kShownFd = 3;

using Clock = std::chrono::steady_clock;

// Ends the process as soon as the window has been exposed and painted once.
class ExitWhenShown final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The window paints as it handles the expose; the timer runs after that.
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed())
            QTimer::singleShot(0, [] {
                const auto shown = Clock::now().time_since_epoch().count();
                const bool told = write(kShownFd, &shown, sizeof shown) == sizeof shown;
                _exit(told ? 0 : 1);
            });
        return false;
    }
};

int showWindow(int argc, char **argv, bool mainWindow)
{
    QApplication app(argc, argv);
    QWidget *window = nullptr;
    if (mainWindow) {
        // As the program starts.
        QApplication::setWindowIcon(kelvane::appIcon());
        kelvane::registerBundledFonts();
        window = new kelvane::MainWindow;
    } else {
        window = new QWidget;
        window->setFixedSize(569, 396);
    }
    const QRect screen = window->screen()->availableGeometry();
    window->move(screen.center() - window->rect().center());
    window->winId();
    ExitWhenShown exitWhenShown;
    window->windowHandle()->installEventFilter(&exitWhenShown);
    window->show();
    return app.exec();
}

struct Run {
    double milliseconds;
    double cpuMilliseconds; // user and system: less swayed by other load than the wall clock
    long peakKilobytes;
};

double millisecondsOf(const timeval &time)
{
    return double(time.tv_sec) * 1000.0 + double(time.tv_usec) / 1000.0;
}

[[noreturn]] void fail(const char *what)
{
    std::perror(what);
    std::exit(1);
}

Run runChild(const char *self, const char *mode)
{
    int shownPipe[2];
    if (pipe2(shownPipe, O_CLOEXEC) != 0)
        fail("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, shownPipe[1], kShownFd);
    char *childArgs[] = {const_cast<char *>(self), const_cast<char *>(mode), nullptr};

    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, self, &actions, nullptr, childArgs, environ) != 0)
        fail("posix_spawn");
    posix_spawn_file_actions_destroy(&actions);
    close(shownPipe[1]);
    Clock::rep shown = 0;
    const bool told = read(shownPipe[0], &shown, sizeof shown) == sizeof shown;
    close(shownPipe[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!told || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", mode);
        std::exit(1);
    }
    const Clock::duration startUp = Clock::duration(shown) - start.time_since_epoch();
    return {std::chrono::duration<double, std::milli>(startUp).count(),
            millisecondsOf(usage.ru_utime) + millisecondsOf(usage.ru_stime), usage.ru_maxrss};
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], kBareMode) == 0)
        return showWindow(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], kMainMode) == 0)
        return showWindow(argc, argv, true);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    std::vector<double> bareTimes, mainTimes, bareCpu, mainCpu;
    std::vector<long> bareMemory, mainMemory;
    runChild(argv[0], kBareMode); // warms the file cache for both
    runChild(argv[0], kMainMode);
    for (int i = 0; i < runs; ++i) {
        const bool bareFirst = i % 2 == 0;
        for (const bool bare : {bareFirst, !bareFirst}) {
            // The display server and the system settle from the last run first.
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const Run run = runChild(argv[0], bare ? kBareMode : kMainMode);
            (bare ? bareTimes : mainTimes).push_back(run.milliseconds);
            (bare ? bareCpu : mainCpu).push_back(run.cpuMilliseconds);
            (bare ? bareMemory : mainMemory).push_back(run.peakKilobytes);
        }
    }
    const double bareTime = median(bareTimes), mainTime = median(mainTimes);
    const long bareKb = median(bareMemory), mainKb = median(mainMemory);
    std::printf("median of %d runs each    bare window   main window   ratio\n", runs);
    std::printf("launch to shown (ms)     %11.1f   %11.1f   %5.2f\n", bareTime, mainTime,
                mainTime / bareTime);
    std::printf("processor time (ms)      %11.1f   %11.1f   %5.2f\n", median(bareCpu),
                median(mainCpu), median(mainCpu) / median(bareCpu));
    std::printf("peak memory (KiB)        %11ld   %11ld   %5.2f\n", bareKb, mainKb,
                double(mainKb) / double(bareKb));
    return 0;
}
