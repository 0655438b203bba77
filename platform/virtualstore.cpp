#include "platform/virtualstore.h"

#include "base/filekind.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kelvane {

namespace {

// The folders Windows redirects writes from.
bool isRedirected(const QString &pathBelowDrive)
{
    const QString first = pathBelowDrive.section(QLatin1Char('/'), 0, 0, QString::SectionSkipEmpty);
    for (const char *name : {"Program Files", "Program Files (x86)", "Windows", "ProgramData"}) {
        if (first.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

QString virtualStoreFolderBelow(const QString &localAppData, const QString &pathBelowDrive)
{
    if (localAppData.isEmpty() || !isRedirected(pathBelowDrive))
        return {};
    return subfolderNamed(localAppData,
                          QStringList{QStringLiteral("VirtualStore")} +
                              pathBelowDrive.split(QLatin1Char('/'), Qt::SkipEmptyParts));
}

QString virtualStoreFolderFor(const QString &folder)
{
    const QString path =
        QDir::cleanPath(QDir::fromNativeSeparators(QFileInfo(folder).absoluteFilePath()));
#ifdef Q_OS_WIN
    if (path.size() < 3 || path.at(1) != QLatin1Char(':'))
        return {};
    return virtualStoreFolderBelow(QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA")),
                                   path.mid(3));
#else
    // A Wine prefix's system drive: PREFIX/drive_c/...
    const QStringList parts = path.split(QLatin1Char('/'));
    const qsizetype drive = parts.indexOf(QStringLiteral("drive_c"));
    if (drive < 1)
        return {};
    const QString driveC = parts.mid(0, drive + 1).join(QLatin1Char('/'));
    const QString below = parts.mid(drive + 1).join(QLatin1Char('/'));
    const QString users = driveC + QStringLiteral("/users");
    for (const QString &user : QDir(users).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QStringList &local :
             {QStringList{QStringLiteral("AppData"), QStringLiteral("Local")},
              QStringList{QStringLiteral("Local Settings"), QStringLiteral("Application Data")}}) {
            const QString appData = subfolderNamed(users + QLatin1Char('/') + user, local);
            if (const QString store = virtualStoreFolderBelow(appData, below); !store.isEmpty())
                return store;
        }
    }
    return {};
#endif
}

} // namespace kelvane
