#include "controls/directorylist.h"

#include "controls/fill.h"

#include "compose/archivepath.h"
#include "controls/archivefolder.h"
#include "controls/focusframe.h"
#include "controls/folderdelegate.h"
#include "controls/folderwatch.h"
#include "platform/systempaths.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace kelvane {

namespace {

QString normalisedPath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
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

// The closed folder with a zip fastener down its middle: an archive is a
// folder packed into one file, and opens like one.
QIcon archiveIcon(const QIcon &closedFolder)
{
    QPixmap picture = closedFolder.pixmap(16, 16);
    QPainter painter(&picture);
    const QColor dark(40, 40, 40);
    const QColor light(225, 225, 225);
    for (int y = 2; y <= 10; ++y) {
        painter.fillRect(7, y, 1, 1, y % 2 ? dark : light);
        painter.fillRect(8, y, 1, 1, y % 2 ? light : dark);
    }
    painter.fillRect(6, 11, 4, 3, dark);
    painter.fillRect(7, 12, 2, 1, light);
    return QIcon(picture);
}

// The folder that holds path, or empty at a root.
QString folderAbove(const QString &path)
{
    const QString above = normalisedPath(QFileInfo(path).absolutePath());
    return above == path ? QString() : above;
}

// The folders from the root down to path, each as its full path; inside an
// archive, the archive and the folders in it follow the folder holding it.
QStringList folderChain(const QString &path)
{
    if (const std::optional<ArchivePath> inside = archivePathOf(path)) {
        QStringList chain = folderChain(folderAbove(inside->archive));
        chain.append(inside->archive);
        QStringList names;
        for (const QString &name : inside->inner.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            names.append(name);
            chain.append(archiveFolderPath(inside->archive, names.join(QLatin1Char('/'))));
        }
        return chain;
    }
    QStringList chain;
    QDir folder(path);
    do {
        chain.prepend(normalisedPath(folder.absolutePath()));
    } while (folder.cdUp());
    return chain;
}

// The path as the list shows it (absolute and clean; inside an archive, as
// the archive spells it), or nothing when the folder cannot be listed.
std::optional<QString> listedPath(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const QString folder = normalisedPath(path);
    if (const std::optional<ArchivePath> inside = archivePathOf(folder)) {
        const Result<ArchiveFolder> read = readArchiveFolder(*inside);
        if (!read.ok())
            return std::nullopt;
        return archiveFolderPath(inside->archive, read.value().inner);
    }
    if (!folderCanBeListed(folder))
        return std::nullopt;
    return folder;
}

// The nearest folder above path that can be listed, or empty when there is none.
QString nearestListedFolderAbove(const QString &path)
{
    QString folder = folderAbove(path);
    while (!folder.isEmpty() && !listedPath(folder))
        folder = folderAbove(folder);
    return folder;
}

// The FAR archives among the regular files of folder, and links to them,
// sorted by name. Only names ending in ".far" are looked at more closely.
QStringList archivesIn(const QString &folder)
{
    QDir::Filters filters = QDir::Files;
#ifndef Q_OS_WIN
    filters |= QDir::Hidden;
#endif
    QStringList names;
    for (QDirIterator entries(folder, filters); entries.hasNext();) {
        entries.next();
        if (isArchiveName(entries.fileName()) && entries.fileInfo().isFile())
            names.append(entries.fileName());
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
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
      m_closedIcon(classicFolderIcon(QStringLiteral("dirclosed"), QStyle::SP_DirClosedIcon)),
      m_archiveIcon(archiveIcon(m_closedIcon))
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
        if (!listedPath(m_path))
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
    const std::optional<QString> folder = listedPath(path);
    if (!folder)
        return false;
    if (*folder == m_path)
        return true;
    m_path = *folder;
    m_watch->watch(m_path);
    m_aboveWatch->watch(folderAbove(m_path));
    showFolder();
    emit changed();
    return true;
}

bool DirectoryList::canList(const QString &path)
{
    return listedPath(path).has_value();
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

    const std::optional<ArchivePath> inside = archivePathOf(m_path);
    const QStringList chain = folderChain(m_path);
    for (qsizetype level = 0; level < chain.size(); ++level) {
        const bool isArchive = inside && chain[level] == inside->archive;
        auto *item = new QListWidgetItem(isArchive ? m_archiveIcon : m_openIcon,
                                         folderTitle(chain[level]), m_list);
        item->setData(kFolderPathRole, chain[level]);
        item->setData(kFolderLevelRole, int(level));
    }
    QListWidgetItem *current = m_list->item(m_list->count() - 1);

    const auto addEntry = [&](const QIcon &icon, const QString &name) {
        auto *item = new QListWidgetItem(icon, name, m_list);
        item->setData(kFolderPathRole, QDir::toNativeSeparators(QDir(m_path).filePath(name)));
        item->setData(kFolderLevelRole, int(chain.size()));
    };
    if (inside) {
        const Result<ArchiveFolder> folder = readArchiveFolder(*inside);
        for (const QString &name : folder.ok() ? folder.value().folders : QStringList())
            addEntry(m_closedIcon, name);
    } else {
        QDir::Filters filters = QDir::Dirs | QDir::NoDotAndDotDot;
#ifndef Q_OS_WIN
        filters |= QDir::Hidden;
#endif
        const QDir folder(m_path);
        for (const QFileInfo &entry :
             folder.entryInfoList(filters, QDir::Name | QDir::IgnoreCase)) {
            // Dirs lets links to special files through; only folders, and links to them, are
            // listed.
            if (entry.isDir())
                addEntry(m_closedIcon, entry.fileName());
        }
        for (const QString &name : archivesIn(m_path))
            addEntry(m_archiveIcon, name);
    }

    m_list->setCurrentItem(current);
    m_list->scrollToItem(current, QAbstractItemView::PositionAtCenter);
}

void DirectoryList::refreshFolder()
{
    // A folder removed while shown gives way to the nearest one above it that
    // remains, as if the user had opened that one.
    if (!listedPath(m_path)) {
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
    const QString folder = item->data(kFolderPathRole).toString();
    if (setPath(folder))
        return;
    // A folder removed since it was listed cannot be opened; show what is there now.
    refreshFolder();
    // An archive that cannot be read says why.
    if (const std::optional<ArchivePath> inside = archivePathOf(folder)) {
        if (const Result<FarArchive> archive = openArchive(inside->archive); !archive.ok())
            emit cannotOpen(archive.error());
    }
}

} // namespace kelvane
