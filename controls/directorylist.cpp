#include "controls/directorylist.h"

#include "controls/fill.h"

#include "controls/folderdelegate.h"
#include "platform/systempaths.h"

#include <QDir>
#include <QKeyEvent>
#include <QListWidget>
#include <QStyle>

namespace kelvane {

namespace {

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

DirectoryList::DirectoryList(QWidget *parent) : QWidget(parent), m_list(new QListWidget(this))
{
    fillWith(*this, *m_list, InnerFocus::Forwarded);

    m_list->setItemDelegate(new FolderDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &DirectoryList::openSelected);

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
    const QStringList subfolders =
        folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders) {
        auto *item = new QListWidgetItem(closedIcon, name, m_list);
        item->setData(kFolderPathRole, QDir::toNativeSeparators(folder.filePath(name)));
        item->setData(kFolderLevelRole, int(chain.size()));
    }

    m_list->setCurrentItem(current);
    m_list->scrollToItem(current, QAbstractItemView::PositionAtCenter);
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
