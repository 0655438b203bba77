#include "controls/folderwatch.h"

#include "inputs/archivepath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QPointer>
#include <QTimer>

namespace kelvane {

namespace {

constexpr int kBurstEndMs = 200;

// One watcher for the program, and how many lists watch each path.
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
    connect(m_burstEnd, &QTimer::timeout, this, [this] {
        rewatchReplaced();
        emit changed();
    });
    const auto follow = [this](const QString &path) {
        if (m_paths.contains(path))
            m_burstEnd->start();
    };
    QFileSystemWatcher *watcher = sharedWatch().watcher;
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, follow);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, follow);
}

FolderWatch::~FolderWatch()
{
    unwatch();
}

void FolderWatch::watch(const QString &folder)
{
    unwatch();
    if (folder.isEmpty())
        return;
    if (const std::optional<ArchivePath> inside = archivePathOf(folder)) {
        // The folder sees the archive replaced or removed, the archive its
        // own bytes rewritten.
        add(QDir::toNativeSeparators(QFileInfo(inside->archive).absolutePath()));
        add(inside->archive);
    } else if (QFileInfo(folder).isDir()) {
        add(folder);
    }
}

void FolderWatch::add(const QString &path)
{
    SharedWatch &shared = sharedWatch();
    if (shared.users[path]++ == 0)
        shared.watcher->addPath(path);
    m_paths.append(path);
}

void FolderWatch::rewatchReplaced()
{
    // The system drops the watch of a file removed or replaced by another;
    // the archive put in its place is watched again.
    QFileSystemWatcher *watcher = sharedWatch().watcher;
    for (const QString &path : std::as_const(m_paths)) {
        if (!watcher->files().contains(path) && !watcher->directories().contains(path) &&
            QFileInfo(path).isFile())
            watcher->addPath(path);
    }
}

void FolderWatch::unwatch()
{
    m_burstEnd->stop();
    SharedWatch &shared = sharedWatch();
    for (const QString &path : std::as_const(m_paths)) {
        if (--shared.users[path] == 0) {
            shared.users.remove(path);
            shared.watcher->removePath(path);
        }
    }
    m_paths.clear();
}

} // namespace kelvane
