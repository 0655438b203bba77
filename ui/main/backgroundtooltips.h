#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace kelvane {

class FileList;

// A tooltip showing plain text: file content is untrusted and never markup.
QString plainToolTip(const QString &plain);

// Gives a file list's tooltips without reading files on the user-interface
// thread. The first time the pointer rests on a file, the tip says the file is
// being read while a worker thread reads it; when the text is ready and the
// pointer still rests there, the tip shows it. Texts are kept until the file
// changes. The reader is asked on this thread for anything but a regular
// file, so it must refuse those without opening them.
class BackgroundToolTips final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackgroundToolTips)

public:
    // Builds a tooltip from the file at a path; called on a worker thread for
    // a regular file.
    using Reader = std::function<QString(const QString &path)>;

    // Installs itself as list's tooltip provider and lives as long as the list.
    BackgroundToolTips(FileList &list, Reader reader);

    // The tip while the file at path is read.
    static QString readingText(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A read text and the state of the file it was read from.
    struct Known {
        QString text;
        QDateTime modified;
        qint64 size = -1;
    };

    QString toolTip(const QString &path);
    void startReading(const QString &path, const Known &stamp);
    void readingDone(const QString &path, const Known &known);

    Reader m_reader;
    QPointer<QWidget> m_viewport;
    QPoint m_lastAsked;
    QHash<QString, Known> m_known;
    QHash<QString, Known> m_reading;
};

} // namespace kelvane
