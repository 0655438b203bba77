#include "controls/folderwatch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QPointer>
#include <QTimer>

namespace kelvane {

namespace {

constexpr int kBurstEndMs = 200;

// One watcher for the program, and how many lists watch each folder.
struct SharedWatch {
    QPointer<QFileSystemWatcher> watcher; // gone with the application
    QHash<QString, int> users;
};

SharedWatch &sharedWatch()
{
    static SharedWatch shared;
    if (!shared.watcher) {
        shared.watcher = new QFileSystemWatcher(QCoreApplication::instance());
        shared.users.clear();
    }
    return shared;
}

} // namespace

FolderWatch::FolderWatch(QObject *parent) : QObject(parent), m_burstEnd(new QTimer(this))
{
    m_burstEnd->setSingleShot(true);
    m_burstEnd->setInterval(kBurstEndMs);
    connect(m_burstEnd, &QTimer::timeout, this, &FolderWatch::changed);
    connect(sharedWatch().watcher, &QFileSystemWatcher::directoryChanged, this,
            [this](const QString &folder) {
                if (folder == m_folder)
                    m_burstEnd->start();
            });
}

FolderWatch::~FolderWatch()
{
    unwatch();
}

void FolderWatch::watch(const QString &folder)
{
    unwatch();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    SharedWatch &shared = sharedWatch();
    if (shared.users[folder]++ == 0)
        shared.watcher->addPath(folder);
    m_folder = folder;
}

void FolderWatch::unwatch()
{
    m_burstEnd->stop();
    if (m_folder.isEmpty())
        return;
    SharedWatch &shared = sharedWatch();
    if (--shared.users[m_folder] == 0) {
        shared.users.remove(m_folder);
        shared.watcher->removePath(m_folder);
    }
    m_folder.clear();
}

} // namespace kelvane
