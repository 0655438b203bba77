#include "controls/filelist.h"

#include "controls/fill.h"

#include "controls/archivefolder.h"
#include "controls/filelistview.h"
#include "controls/focusframe.h"
#include "controls/folderwatch.h"
#include "inputs/archivepath.h"

#include <QDir>
#include <QDirIterator>
#include <QHelpEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStringListModel>
#include <QToolTip>

#include <algorithm>

namespace kelvane {

namespace {

// Whether name matches a pattern of "*" (any run of characters) and "?" (any
// one character), ignoring case. Plain code rather than a regular expression,
// which would cost start-up time and memory.
bool matchesPattern(QStringView name, QStringView pattern)
{
    const auto same = [](QChar a, QChar b) { return a.toCaseFolded() == b.toCaseFolded(); };
    qsizetype n = 0, p = 0, starAt = -1, starMatched = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || same(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            starMatched = n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++starMatched;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool matchesAnyPattern(QStringView name, const QStringList &patterns)
{
    return std::any_of(patterns.cbegin(), patterns.cend(),
                       [name](const QString &pattern) { return matchesPattern(name, pattern); });
}

// The names of the regular files in folder matching patterns, sorted by name
// ignoring case. Only the file system's entries are read, never a file, so a
// FIFO or a device cannot hold the listing up; they, and links to them, are
// left out. Inside an archive, only its list of entries is read, already in order.
QStringList regularFilesIn(const QString &folder, const QStringList &patterns)
{
    QStringList names;
    if (const std::optional<ArchivePath> inside = archivePathOf(folder)) {
        const Result<ArchiveFolder> entries = readArchiveFolder(*inside);
        for (const QString &name : entries.ok() ? entries.value().files : QStringList()) {
            if (matchesAnyPattern(name, patterns))
                names.append(name);
        }
        return names;
    }
    QDir::Filters filters = QDir::Files;
#ifndef Q_OS_WIN
    filters |= QDir::Hidden;
#endif
    for (QDirIterator entries(folder, filters); entries.hasNext();) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (matchesAnyPattern(entry.fileName(), patterns) && entry.isFile())
            names.append(entry.fileName());
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

} // namespace

FileList::FileList(const QStringList &patterns, QWidget *parent)
    : QWidget(parent), m_patterns(patterns), m_files(new QStringListModel(this)),
      m_view(new FileListView(this)), m_watch(new FolderWatch(this))
{
    fillWith(*this, *m_view, InnerFocus::Forwarded);
    new FocusFrame(*m_view, QPalette::Highlight);

    m_view->setModel(m_files);
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileList::followSelection);
    connect(m_view, &QAbstractItemView::clicked, this, &FileList::followClick);
    m_view->viewport()->installEventFilter(this);
    connect(m_watch, &FolderWatch::changed, this, &FileList::refresh);
    connect(m_view, &FileListView::menuAsked, this, &FileList::showMenu);
}

QString FileList::path() const
{
    return m_path;
}

void FileList::setPath(const QString &path)
{
    m_path = path;
    m_watch->watch(path);
    readFolder();
    m_view->scrollToTop();
}

QString FileList::fileName() const
{
    return fileNames().value(0);
}

QStringList FileList::fileNames() const
{
    QModelIndexList selected = m_view->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end());
    QStringList names;
    for (const QModelIndex &entry : std::as_const(selected))
        names.append(entry.data().toString());
    return names;
}

void FileList::setMultipleSelection(bool multiple)
{
    m_view->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection
                                      : QAbstractItemView::SingleSelection);
}

void FileList::refresh()
{
    const QStringList selected = fileNames();
    const QString current = m_view->currentIndex().data().toString();
    const int scrolled = m_view->verticalScrollBar()->value();
    readFolder();
    const QStringList listed = m_files->stringList();
    QItemSelection kept;
    for (const QString &name : selected) {
        if (const qsizetype row = listed.indexOf(name); row >= 0)
            kept.select(m_files->index(int(row)), m_files->index(int(row)));
    }
    if (!kept.isEmpty()) {
        const QScopedValueRollback reading(m_reading, true);
        const qsizetype currentRow = listed.indexOf(current);
        m_view->selectionModel()->setCurrentIndex(currentRow >= 0 ? m_files->index(int(currentRow))
                                                                  : kept.indexes().first(),
                                                  QItemSelectionModel::NoUpdate);
        m_view->selectionModel()->select(kept, QItemSelectionModel::ClearAndSelect);
    }
    m_view->verticalScrollBar()->setValue(scrolled);
    if (!selected.isEmpty() && kept.isEmpty())
        emit selectionLost();
}

void FileList::clearSelection()
{
    const QScopedValueRollback reading(m_reading, true);
    m_view->selectionModel()->clearSelection();
}

void FileList::setToolTipProvider(ToolTipProvider provider)
{
    m_toolTipProvider = std::move(provider);
}

void FileList::addMenuCommand(const QString &name, const QString &text,
                              std::function<MenuCommandState()> state, std::function<void()> run)
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setToolTipsVisible(true);
    }
    QAction *command = m_menu->addAction(text);
    command->setObjectName(name);
    connect(command, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_menuCommands.append({command, std::move(state)});
}

bool FileList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            m_movedSincePress = false;
        if (event->type() == QEvent::ToolTip && m_toolTipProvider) {
            showToolTip(*static_cast<QHelpEvent *>(event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FileList::followSelection()
{
    if (m_reading)
        return;
    m_movedSincePress = true;
    emit fileChosen();
}

void FileList::followClick()
{
    // A click that moved the selection was reported as the selection moved.
    if (!m_movedSincePress)
        emit fileChosen();
}

void FileList::showToolTip(const QHelpEvent &event)
{
    const QModelIndex entry = m_view->indexAt(event.pos());
    if (!entry.isValid()) {
        if (toolTip().isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event.globalPos(), toolTip(), m_view->viewport());
        return;
    }
    const QString filePath = QDir(m_path).filePath(entry.data().toString());
    // The tip stays while the pointer is within the entry.
    QToolTip::showText(event.globalPos(), m_toolTipProvider(QDir::toNativeSeparators(filePath)),
                       m_view->viewport(), m_view->visualRect(entry));
}

void FileList::showMenu(const QPoint &at)
{
    if (!m_menu)
        return;
    for (const auto &[command, stateNow] : m_menuCommands) {
        const MenuCommandState shown = stateNow();
        command->setVisible(shown.visible);
        command->setEnabled(shown.enabled);
        command->setToolTip(shown.toolTip);
    }
    m_menu->popup(at);
}

void FileList::readFolder()
{
    const QScopedValueRollback reading(m_reading, true);
    m_files->setStringList(regularFilesIn(m_path, m_patterns));
}

} // namespace kelvane
