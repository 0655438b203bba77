#include "controls/directorylist.h"

#include "controls/fill.h"

#include "base/messagetext.h"
#include "controls/archivefolder.h"
#include "controls/focusframe.h"
#include "controls/folderdelegate.h"
#include "controls/folderentries.h"
#include "controls/folderitem.h"
#include "controls/folderwatch.h"
#include "inputs/archivepath.h"
#include "platform/systempaths.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QThreadPool>

#include <algorithm>
#include <utility>

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

QString folderTitle(const QString &folderPath)
{
    const QString name = QDir(folderPath).dirName();
    return name.isEmpty() || QDir(folderPath).isRoot() ? folderPath : name;
}

// Beyond this many rows added or removed at once, the rows are made anew,
// which then costs less than moving the rows after each.
constexpr qsizetype kMostRowEdits = 1000;

// Why the folder at path, which the list shows, cannot be opened; empty when
// it is gone, which the list then shows.
QString whyNotOpened(const QString &path)
{
    if (const std::optional<ArchivePath> inside = archivePathOf(path)) {
        const Result<FarArchive> archive = openArchive(inside->archive);
        return archive.ok() ? QString() : archive.error();
    }
    if (!QFileInfo(path).isDir())
        return {};
    return QStringLiteral("%1: the folder cannot be opened (permission denied).")
        .arg(shownName(path));
}

} // namespace

DirectoryList::DirectoryList(QWidget *parent) : DirectoryList(QDir::currentPath(), parent) {}

DirectoryList::DirectoryList(const QString &startFolder, QWidget *parent)
    : QWidget(parent), m_list(new QListWidget(this)), m_watch(new FolderWatch(this)),
      m_aboveWatch(new FolderWatch(this)), m_lister(new QThreadPool(this)),
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
    m_lister->setMaxThreadCount(1);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &DirectoryList::openSelected);
    connect(m_watch, &FolderWatch::changed, this, &DirectoryList::refreshFolder);
    connect(m_aboveWatch, &FolderWatch::changed, this, [this] {
        if (!listedPath(m_path))
            refreshFolder();
    });

    if (!setPath(startFolder))
        setPath(systemRoot());
}

DirectoryList::~DirectoryList()
{
    // A listing under way reports to this list; it ends first.
    m_lister->waitForDone();
}

void DirectoryList::addMenuCommand(const QString &name, const QString &text,
                                   std::function<bool()> enabled, std::function<void()> run)
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
            for (const auto &[command, canRun] : std::as_const(m_menuCommands))
                command->setEnabled(canRun());
            m_menu->popup(m_list->viewport()->mapToGlobal(at));
        });
    }
    QAction *command = m_menu->addAction(text);
    command->setObjectName(name);
    connect(command, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_menuCommands.append({command, std::move(enabled)});
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
    showFolder(folderEntries(m_path));
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

void DirectoryList::showFolder(const QList<FolderEntry> &entries)
{
    ++m_shown;
    m_list->clear();
    const std::optional<ArchivePath> inside = archivePathOf(m_path);
    const QStringList chain = folderChain(m_path);
    for (qsizetype level = 0; level < chain.size(); ++level) {
        const bool isArchive = inside && chain[level] == inside->archive;
        m_list->addItem(new FolderItem(folderTitle(chain[level]), chain[level], int(level),
                                       isArchive ? m_archiveIcon : m_openIcon));
    }
    m_chainRows = int(chain.size());
    replaceEntries(entries);

    QListWidgetItem *current = m_list->item(m_chainRows - 1);
    m_list->setCurrentItem(current);
    m_list->scrollToItem(current, QAbstractItemView::PositionAtCenter);
}

QListWidgetItem *DirectoryList::itemOf(const FolderEntry &entry) const
{
    return new FolderItem(entry, m_path, m_chainRows, entry.archive ? m_archiveIcon : m_closedIcon);
}

void DirectoryList::replaceEntries(const QList<FolderEntry> &entries)
{
    if (m_list->count() > m_chainRows)
        m_list->model()->removeRows(m_chainRows, m_list->count() - m_chainRows);
    // Items made before they join the list cost the list nothing while made.
    for (const FolderEntry &entry : entries)
        m_list->addItem(itemOf(entry));
}

void DirectoryList::updateEntries(const QList<FolderEntry> &entries)
{
    // The rows to remove and the entries to add, found by walking the rows
    // and the entries side by side, both in list order. Rows are numbered as
    // before any edit; an entry is added before the row.
    struct Edit {
        int row;
        qsizetype added; // or -1 to remove the row
    };
    QList<Edit> edits;
    const int rows = m_list->count();
    const auto shownAt = [this](int row) -> const FolderEntry & {
        return FolderItem::entryOf(m_list->item(row));
    };
    for (int row = m_chainRows, next = 0; row < rows || next < entries.size();) {
        if (next < entries.size() && (row == rows || listedBefore(entries[next], shownAt(row)))) {
            edits.append({row, next++});
        } else if (next < entries.size() && entries[next] == shownAt(row)) {
            ++row;
            ++next;
        } else {
            edits.append({row++, -1});
        }
    }
    if (edits.isEmpty())
        return;

    const QListWidgetItem *selected = m_list->currentItem();
    const int selectedRow = m_list->currentRow();
    const int scrolled = m_list->verticalScrollBar()->value();
    bool selectedGone = false;
    if (edits.size() > kMostRowEdits) {
        const std::optional<FolderEntry> was = selectedRow >= m_chainRows
                                                   ? std::optional(FolderItem::entryOf(selected))
                                                   : std::nullopt;
        replaceEntries(entries);
        if (was) {
            const auto found =
                std::lower_bound(entries.cbegin(), entries.cend(), *was, listedBefore);
            selectedGone = found == entries.cend() || !(*found == *was);
            if (!selectedGone)
                m_list->setCurrentRow(m_chainRows + int(found - entries.cbegin()));
        }
    } else {
        int shift = 0;
        for (const Edit &edit : std::as_const(edits)) {
            if (edit.added >= 0) {
                m_list->insertItem(edit.row + shift++, itemOf(entries[edit.added]));
            } else {
                QListWidgetItem *removed = m_list->takeItem(edit.row + shift--);
                selectedGone = selectedGone || removed == selected;
                delete removed;
            }
        }
    }
    // A selected entry gone leaves the folder itself selected, as when it opened.
    if (selectedGone)
        m_list->setCurrentRow(m_chainRows - 1);
    m_list->verticalScrollBar()->setValue(scrolled);
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
    // One listing at a time; changes meanwhile are listed once it is done.
    if (m_listing) {
        m_listAgain = true;
        return;
    }
    m_listing = true;
    m_lister->start([this, folder = m_path, shown = m_shown] {
        QList<FolderEntry> entries = folderEntries(folder);
        QMetaObject::invokeMethod(
            this,
            [this, shown, entries = std::move(entries)] {
                m_listing = false;
                if (shown == m_shown)
                    updateEntries(entries);
                if (std::exchange(m_listAgain, false))
                    refreshFolder();
            },
            Qt::QueuedConnection);
    });
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
    // One that is there says why it cannot be opened.
    if (const QString reason = whyNotOpened(folder); !reason.isEmpty())
        emit cannotOpen(reason);
}

} // namespace kelvane
