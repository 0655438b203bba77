#pragma once

#include "base/filekind.h"

#include <QDir>
#include <QList>
#include <QMutex>
#include <QString>

#include <optional>

namespace kelvane {

// What was worked out from a file, kept while the file is unchanged on disk
// (the same stamp), so that it is not worked out again: the most recently
// used first, at most capacity of them. Safe on any thread.
template <typename T> class KeptWhileUnchanged final
{
public:
    explicit KeptWhileUnchanged(qsizetype capacity) : m_capacity(capacity) {}
    Q_DISABLE_COPY_MOVE(KeptWhileUnchanged)

    std::optional<T> find(const QString &path, const FileStamp &stamp)
    {
        const QString key = keyOf(path);
        const QMutexLocker lock(&m_mutex);
        for (qsizetype i = 0; i < m_kept.size(); ++i) {
            if (m_kept[i].path == key && m_kept[i].stamp == stamp) {
                m_kept.move(i, 0);
                return m_kept.first().value;
            }
        }
        return std::nullopt;
    }

    void keep(const QString &path, const FileStamp &stamp, const T &value)
    {
        const QString key = keyOf(path);
        const QMutexLocker lock(&m_mutex);
        m_kept.removeIf([&key](const Kept &each) { return each.path == key; });
        m_kept.prepend({key, stamp, value});
        if (m_kept.size() > m_capacity)
            m_kept.removeLast();
    }

private:
    struct Kept {
        QString path;
        FileStamp stamp;
        T value;
    };

    static QString keyOf(const QString &path)
    {
        return QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
    }

    QMutex m_mutex;
    QList<Kept> m_kept;
    qsizetype m_capacity;
};

} // namespace kelvane
