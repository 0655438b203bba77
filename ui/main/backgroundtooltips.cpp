#include "ui/main/backgroundtooltips.h"

#include "base/filekind.h"
#include "controls/filelist.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHelpEvent>
#include <QPromise>
#include <QTextDocument>
#include <QThreadPool>
#include <QToolTip>

#include <memory>

namespace kelvane {

namespace {

// Enough for the files a player hovers in a session; forgotten all at once beyond.
constexpr qsizetype kMaxKnown = 512;

} // namespace

QString plainToolTip(const QString &plain)
{
    return Qt::convertFromPlainText(plain, Qt::WhiteSpaceNormal);
}

BackgroundToolTips::BackgroundToolTips(FileList &list, Reader reader)
    : QObject(&list), m_reader(std::move(reader))
{
    // The tip is asked for on the list view's viewport; where it was asked is
    // where it is asked again once the text is ready.
    if (auto *view = list.findChild<QAbstractItemView *>()) {
        m_viewport = view->viewport();
        m_viewport->installEventFilter(this);
    }
    list.setToolTipProvider([this](const QString &path) { return toolTip(path); });
}

QString BackgroundToolTips::readingText(const QString &path)
{
    return plainToolTip(QStringLiteral("Reading %1\u2026").arg(QFileInfo(path).fileName()));
}

bool BackgroundToolTips::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport && event->type() == QEvent::ToolTip)
        m_lastAsked = static_cast<QHelpEvent *>(event)->pos();
    return QObject::eventFilter(watched, event);
}

QString BackgroundToolTips::toolTip(const QString &path)
{
    // Anything but a regular file is refused by the reader without opening
    // it, which never waits; a status call does not either.
    if (fileKindOf(path) != FileKind::Regular)
        return m_reader(path);
    const QFileInfo info(path);
    const Known stamp{{}, info.lastModified(), info.size()};
    const auto known = m_known.constFind(path);
    if (known != m_known.cend() && known->modified == stamp.modified && known->size == stamp.size)
        return known->text;
    if (!m_reading.contains(path))
        startReading(path, stamp);
    return readingText(path);
}

void BackgroundToolTips::startReading(const QString &path, const Known &stamp)
{
    m_reading.insert(path, stamp);
    auto promise = std::make_shared<QPromise<QString>>();
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        Known known = m_reading.take(path);
        if (watcher->future().resultCount() == 1) {
            known.text = watcher->future().result();
            readingDone(path, known);
        }
    });
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, path, reader = m_reader] {
        promise->start();
        promise->addResult(reader(path));
        promise->finish();
    });
}

void BackgroundToolTips::readingDone(const QString &path, const Known &known)
{
    if (m_known.size() >= kMaxKnown)
        m_known.clear();
    m_known.insert(path, known);
    // Ask again only while the tip still waits for this file: the pointer has
    // not left the entry nor has the tip been hidden.
    if (!m_viewport || !QToolTip::isVisible() || QToolTip::text() != readingText(path))
        return;
    QHelpEvent asked(QEvent::ToolTip, m_lastAsked, m_viewport->mapToGlobal(m_lastAsked));
    QApplication::sendEvent(m_viewport, &asked);
}

} // namespace kelvane
