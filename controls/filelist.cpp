#include "controls/filelist.h"

#include "controls/fill.h"

#include "controls/filelistview.h"

#include <QDir>
#include <QHelpEvent>
#include <QStringListModel>
#include <QToolTip>

namespace kelvane {

FileList::FileList(const QString &pattern, QWidget *parent)
    : QWidget(parent), m_pattern(pattern), m_files(new QStringListModel(this)),
      m_view(new FileListView(this))
{
    fillWith(*this, *m_view, InnerFocus::Forwarded);

    m_view->setModel(m_files);
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_view, &QAbstractItemView::clicked, this, &FileList::fileChosen);
    connect(m_view, &FileListView::movedByKeyboard, this, &FileList::fileChosen);
    m_view->viewport()->installEventFilter(this);
}

QString FileList::path() const
{
    return m_path;
}

void FileList::setPath(const QString &path)
{
    m_path = path;
    readFolder();
}

QString FileList::fileName() const
{
    const QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

void FileList::refresh()
{
    const QString selected = fileName();
    readFolder();
    if (selected.isEmpty())
        return;
    const qsizetype row = m_files->stringList().indexOf(selected);
    if (row >= 0)
        m_view->selectionModel()->setCurrentIndex(m_files->index(int(row)),
                                                  QItemSelectionModel::ClearAndSelect);
}

void FileList::setToolTipProvider(ToolTipProvider provider)
{
    m_toolTipProvider = std::move(provider);
}

bool FileList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::ToolTip && m_toolTipProvider) {
        showToolTip(*static_cast<QHelpEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FileList::showToolTip(const QHelpEvent &event)
{
    const QModelIndex entry = m_view->indexAt(event.pos());
    if (!entry.isValid()) {
        QToolTip::hideText();
        return;
    }
    const QString filePath = QDir(m_path).filePath(entry.data().toString());
    // The tip stays while the pointer is within the entry.
    QToolTip::showText(event.globalPos(), m_toolTipProvider(QDir::toNativeSeparators(filePath)),
                       m_view->viewport(), m_view->visualRect(entry));
}

void FileList::readFolder()
{
    // QDir matches name filters case-insensitively unless told otherwise.
    m_files->setStringList(
        QDir(m_path).entryList({m_pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase));
    m_view->scrollToTop();
}

} // namespace kelvane
