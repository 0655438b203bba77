#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// A fake Wine prefix and home folder in a temporary folder, which WINEPREFIX
// and HOME name while it lives: prefix/dosdevices holds c:, linking to
// prefix/drive_c, and d:, linking to the folder dDrive; home is empty.
class WinePrefixFolder
{
public:
    explicit WinePrefixFolder(const QString &dDrive = QStringLiteral("d"));
    ~WinePrefixFolder();
    WinePrefixFolder(const WinePrefixFolder &) = delete;
    WinePrefixFolder &operator=(const WinePrefixFolder &) = delete;

    // False when a folder or link could not be made.
    bool isValid() const { return m_valid; }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    // The canonical path with native separators; empty when nothing is there.
    QString canonical(const QString &relative) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_home;
    bool m_valid = false;
};

} // namespace testsupport
