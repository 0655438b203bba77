#include "tests/support/wineprefixfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

WinePrefixFolder::WinePrefixFolder(const QString &dDrive) : m_home(qgetenv("HOME"))
{
    if (!m_dir.isValid())
        return;
    for (const QString &folder :
         {QStringLiteral("prefix/dosdevices"), QStringLiteral("prefix/drive_c"), dDrive,
          QStringLiteral("home")}) {
        if (!QDir().mkpath(path(folder)))
            return;
    }
    if (!QFile::link(QStringLiteral("../drive_c"), path(QStringLiteral("prefix/dosdevices/c:"))) ||
        !QFile::link(path(dDrive), path(QStringLiteral("prefix/dosdevices/d:"))))
        return;
    qputenv("HOME", QFile::encodeName(path(QStringLiteral("home"))));
    qputenv("WINEPREFIX", QFile::encodeName(path(QStringLiteral("prefix"))));
    m_valid = true;
}

WinePrefixFolder::~WinePrefixFolder()
{
    if (m_home.isNull())
        qunsetenv("HOME");
    else
        qputenv("HOME", m_home);
    qunsetenv("WINEPREFIX");
}

QString WinePrefixFolder::canonical(const QString &relative) const
{
    return QDir::toNativeSeparators(QFileInfo(path(relative)).canonicalFilePath());
}

} // namespace testsupport
