#include "controls/directorylist.h"

#include "controls/fill.h"

#include "controls/focusframe.h"
#include "controls/folderdelegate.h"
#include "controls/folderwatch.h"
#include "platform/systempaths.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
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

// Qt's own classic folder pictures, the same on every desktop. The style's
// standard icon would first search the desktop's icon theme, which costs
// every start-up several milliseconds; it serves where the pictures are gone.
// Read as PNG outright: guessing the format would load every image plug-in.
QIcon classicFolderIcon(const QString &name, QStyle::StandardPixmap standard)
{
    QImageReader reader(
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-16.png").arg(name), "png");
    reader.setAutoDetectImageFormat(false);
    const QImage picture = reader.read();
    return picture.isNull() ? QApplication::style()->standardIcon(standard)
                            : QIcon(QPixmap::fromImage(picture));
}

// The folder that holds path, or empty at a root.
QString folderAbove(const QString &path)
{
    const QString above = normalisedPath(QFileInfo(path).absolutePath());
    return above == path ? QString() : above;
}

// The nearest folder above path that can be listed, or empty when there is none.
QString nearestListedFolderAbove(const QString &path)
{
    QString folder = folderAbove(path);
    while (!folder.isEmpty() && !folderCanBeListed(folder))
        folder = folderAbove(folder);
    return folder;
}

QString folderTitle(const QString &folderPath)
{
    const QString name = QDir(folderPath).dirName();
    return name.isEmpty() || QDir(folderPath).isRoot() ? folderPath : name;
}

} // namespace

DirectoryList::DirectoryList(QWidget *parent) : DirectoryList(QDir::currentPath(), parent) {}

DirectoryList::DirectoryList(const QString &startFolder, QWidget *parent)
    : QWidget(parent), m_list(new QListWidget(this)), m_watch(new FolderWatch(this)),
      m_aboveWatch(new FolderWatch(this)),
      m_openIcon(classicFolderIcon(QStringLiteral("diropen"), QStyle::SP_DirOpenIcon)),
      m_closedIcon(classicFolderIcon(QStringLiteral("dirclosed"), QStyle::SP_DirClosedIcon))
{
    fillWith(*this, *m_list, InnerFocus::Forwarded);
    new FocusFrame(*m_list, QPalette::Highlight);

    m_list->setItemDelegate(new FolderDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &DirectoryList::openSelected);
    connect(m_watch, &FolderWatch::changed, this, &DirectoryList::refreshFolder);
    connect(m_aboveWatch, &FolderWatch::changed, this, [this] {
        if (!folderCanBeListed(m_path))
            refreshFolder();
    });

    if (!setPath(startFolder))
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
    m_watch->watch(m_path);
    m_aboveWatch->watch(folderAbove(m_path));
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

    const QStringList chain = folderChain(m_path);
    for (qsizetype level = 0; level < chain.size(); ++level) {
        auto *item = new QListWidgetItem(m_openIcon, folderTitle(chain[level]), m_list);
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
        auto *item = new QListWidgetItem(m_closedIcon, entry.fileName(), m_list);
        item->setData(kFolderPathRole, QDir::toNativeSeparators(entry.filePath()));
        item->setData(kFolderLevelRole, int(chain.size()));
    }

    m_list->setCurrentItem(current);
    m_list->scrollToItem(current, QAbstractItemView::PositionAtCenter);
}

void DirectoryList::refreshFolder()
{
    // A folder removed while shown gives way to the nearest one above it that
    // remains, as if the user had opened that one.
    if (!folderCanBeListed(m_path)) {
        const QString above = nearestListedFolderAbove(m_path);
        if (!above.isEmpty() && setPath(above))
            return;
    }
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
