#include "filelist.h"

#include "filelistview.h"

#include <QDir>
#include <QStringListModel>
#include <QVBoxLayout>

namespace kelvane {

FileList::FileList(const QString &pattern, QWidget *parent)
    : QWidget(parent), m_pattern(pattern), m_files(new QStringListModel(this)),
      m_view(new FileListView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    m_view->setModel(m_files);
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_view, &QAbstractItemView::clicked, this, &FileList::clicked);
    connect(m_view, &FileListView::movedByKeyboard, this, &FileList::clicked);
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

void FileList::readFolder()
{
    // QDir matches name filters case-insensitively unless told otherwise.
    m_files->setStringList(
        QDir(m_path).entryList({m_pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase));
    m_view->scrollToTop();
}

} // namespace kelvane
