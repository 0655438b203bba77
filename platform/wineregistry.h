#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QIODevice;

namespace kelvane {

// String values of one registry file of a Wine prefix: system.reg holds
// HKEY_LOCAL_MACHINE, user.reg HKEY_CURRENT_USER. A key is a line such as
// [Software\\Maxis\\The Sims] 1700000000, followed by its values as lines such
// as "InstallPath"="C:\\Program Files\\Maxis\\The Sims". Such files run to
// megabytes, so only the keys asked for are kept, from one pass over the file
// a piece at a time; a file larger than any registry is left unread.
class WineRegistry final
{
public:
    // Real registry files stay well below this, even after years of use.
    static constexpr qint64 kMaxSize = 256 * 1024 * 1024;

    // The values of keys ("Software\Maxis\The Sims", from the file's root) in
    // the registry file at path; none when it is no regular file or larger
    // than kMaxSize. Nothing but a regular file is opened.
    WineRegistry(const QString &path, const QStringList &keys);

    // Why the file was left unread although it exists; empty when it was read
    // or is missing.
    QString note() const { return m_note; }

    // The string value called name of one of the keys, names compared
    // without regard to case as Windows does; an empty string when there is
    // none.
    QString value(const QString &key, const QString &name) const;

private:
    void read(QIODevice &file, const QStringList &keys);

    QHash<QString, QHash<QString, QString>> m_values;
    QString m_note;
};

} // namespace kelvane
