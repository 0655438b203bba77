#include "controls/directorylist.h"

#include "controls/fill.h"

#include "controls/focusframe.h"
#include "controls/folderdelegate.h"
#include "platform/systempaths.h"

#include <QDir>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

namespace kelvane {

namespace {

// Changes on disk come in bursts; one re-read follows each burst.
constexpr int kRereadDelayMs = 200;

QString normalisedPath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

// The folders from the root down to path, each as its full path.
QStringList folderChain(const QString &path)
{
    QStringList chain;
    QDir folder(path);
    do {
        chain.prepend(normalisedPath(folder.absolutePath()));
    } while (folder.cdUp());
    return chain;
}

QString folderTitle(const QString &folderPath)
{
    const QString name = QDir(folderPath).dirName();
    return name.isEmpty() || QDir(folderPath).isRoot() ? folderPath : name;
}

} // namespace

DirectoryList::DirectoryList(QWidget *parent)
    : QWidget(parent), m_list(new QListWidget(this)), m_watcher(new QFileSystemWatcher(this)),
      m_rereadSoon(new QTimer(this))
{
    fillWith(*this, *m_list, InnerFocus::Forwarded);
    new FocusFrame(*m_list, QPalette::Highlight);

    m_list->setItemDelegate(new FolderDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &DirectoryList::openSelected);

    m_rereadSoon->setSingleShot(true);
    m_rereadSoon->setInterval(kRereadDelayMs);
    connect(m_rereadSoon, &QTimer::timeout, this, &DirectoryList::refreshFolder);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_rereadSoon,
            qOverload<>(&QTimer::start));

    if (!setPath(QDir::currentPath()))
        setPath(systemRoot());
}

QString DirectoryList::path() const
{
    return m_path;
}

bool DirectoryList::setPath(const QString &path)
{
    if (!folderCanBeListed(path))
        return false;
    const QString folder = normalisedPath(path);
    if (folder == m_path)
        return true;
    m_path = folder;
    m_rereadSoon->stop();
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_watcher->addPath(m_path);
    showFolder();
    emit changed();
    return true;
}

bool DirectoryList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DirectoryList::showFolder()
{
    m_list->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    const QStringList chain = folderChain(m_path);
    for (qsizetype level = 0; level < chain.size(); ++level) {
        auto *item = new QListWidgetItem(openIcon, folderTitle(chain[level]), m_list);
        item->setData(kFolderPathRole, chain[level]);
        item->setData(kFolderLevelRole, int(level));
    }
    QListWidgetItem *current = m_list->item(m_list->count() - 1);

    const QDir folder(m_path);
    QDir::Filters filters = QDir::Dirs | QDir::NoDotAndDotDot;
#ifndef Q_OS_WIN
    filters |= QDir::Hidden;
#endif
    for (const QFileInfo &entry : folder.entryInfoList(filters, QDir::Name | QDir::IgnoreCase)) {
        // Dirs lets links to special files through; only folders, and links to them, are listed.
        if (!entry.isDir())
            continue;
        auto *item = new QListWidgetItem(closedIcon, entry.fileName(), m_list);
        item->setData(kFolderPathRole, QDir::toNativeSeparators(entry.filePath()));
        item->setData(kFolderLevelRole, int(chain.size()));
    }

    m_list->setCurrentItem(current);
    m_list->scrollToItem(current, QAbstractItemView::PositionAtCenter);
}

void DirectoryList::refreshFolder()
{
    const QListWidgetItem *selected = m_list->currentItem();
    const QString selectedPath = selected ? selected->data(kFolderPathRole).toString() : QString();
    const int scrolled = m_list->verticalScrollBar()->value();
    showFolder();
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->data(kFolderPathRole).toString() == selectedPath)
            m_list->setCurrentRow(row);
    }
    m_list->verticalScrollBar()->setValue(scrolled);
}

void DirectoryList::openSelected()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item)
        return;
    // A folder removed since it was listed cannot be opened; show what is there now.
    if (!setPath(item->data(kFolderPathRole).toString()))
        showFolder();
}

} // namespace kelvane
