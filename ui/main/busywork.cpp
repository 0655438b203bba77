#include "ui/main/busywork.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

#include <memory>

namespace kelvane {

void runWhileBusy(QWidget *window, const QString &what, const std::function<void()> &work)
{
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // A box with a moving bar and no button: the work cannot be cut short.
    QProgressDialog box(what, QString(), 0, 0, window);
    box.setWindowModality(Qt::WindowModal);
    box.setCancelButton(nullptr);
    box.setMinimumDuration(kBusyBoxAfterMs);
    // Counts the time to showing from now.
    box.setValue(0);
    QEventLoop loop;
    const std::unique_ptr<QThread> thread(QThread::create(work));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the program is asked to quit; the work is
    // finished all the same.
    thread->wait();
    QApplication::restoreOverrideCursor();
}

} // namespace kelvane
