#include "platform/searchedsystems.h"

#include "platform/wineprefix.h"
#include "platform/wineregistry.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#ifdef Q_OS_WIN
#include <QSettings>
#endif

#include <memory>

namespace kelvane {

namespace {

QString existingAbsoluteFolder(const QString &path)
{
    return QDir::isAbsolutePath(path) && QFileInfo(path).isDir()
               ? QDir::toNativeSeparators(QDir::cleanPath(path))
               : QString();
}

#ifndef Q_OS_WIN
// The registry file at path, read again only when it has changed: a drive
// list looks for the game each time it opens, and the file runs to megabytes.
std::shared_ptr<const WineRegistry> registryFile(const QString &path, const QString &hive,
                                                 const QStringList &registryKeys)
{
    struct Read {
        QDateTime modified;
        qint64 size;
        std::shared_ptr<const WineRegistry> values;
    };
    static QMutex mutex;
    static QHash<QString, Read> known;

    const QFileInfo file(path);
    const QMutexLocker lock(&mutex);
    const auto last = known.constFind(path);
    if (last != known.cend() && last->modified == file.lastModified() && last->size == file.size())
        return last->values;
    QStringList keys;
    for (const QString &key : registryKeys) {
        if (key.startsWith(hive))
            keys.append(key.mid(hive.size()));
    }
    auto values = std::make_shared<const WineRegistry>(path, keys);
    known.insert(path, {file.lastModified(), file.size(), values});
    return values;
}
#endif

} // namespace

#ifdef Q_OS_WIN
SearchedSystem windowsItself()
{
    SearchedSystem system;
    system.registry = [](const QString &key, const QString &name) {
        return QSettings(key, QSettings::NativeFormat).value(name).toString();
    };
    system.folder = existingAbsoluteFolder;
    const std::pair<const char *, const char *> programFiles[] = {
        {"ProgramFiles(x86)", "C:\\Program Files (x86)"}, {"ProgramFiles", "C:\\Program Files"}};
    for (const auto &[variable, usual] : programFiles) {
        const QString folder = qEnvironmentVariable(variable);
        system.programFiles.append(folder.isEmpty() ? QString::fromLatin1(usual) : folder);
    }
    return system;
}
#else
SearchedSystem winePrefix(const QString &prefixFolder, const QStringList &registryKeys)
{
    static const QString localMachine = QStringLiteral("HKEY_LOCAL_MACHINE\\");
    static const QString currentUser = QStringLiteral("HKEY_CURRENT_USER\\");
    const QDir folder(prefixFolder);
    const std::shared_ptr<const WineRegistry> machine =
        registryFile(folder.filePath(QStringLiteral("system.reg")), localMachine, registryKeys);
    const std::shared_ptr<const WineRegistry> user =
        registryFile(folder.filePath(QStringLiteral("user.reg")), currentUser, registryKeys);

    SearchedSystem system;
    for (const auto &file : {machine, user}) {
        if (!file->note().isEmpty())
            system.notes.append(file->note());
    }
    system.registry = [machine, user](const QString &key, const QString &name) {
        if (key.startsWith(localMachine))
            return machine->value(key.mid(localMachine.size()), name);
        if (key.startsWith(currentUser))
            return user->value(key.mid(currentUser.size()), name);
        return QString();
    };
    system.folder = [prefix = WinePrefix(prefixFolder)](const QString &path) {
        const std::optional<QString> local = prefix.folderForWindowsPath(path);
        return local && QFileInfo(*local).isDir() ? *local : QString();
    };
    system.programFiles = {QStringLiteral("C:\\Program Files (x86)"),
                           QStringLiteral("C:\\Program Files")};
    return system;
}

SearchedSystem ownSystem()
{
    SearchedSystem system;
    system.folder = existingAbsoluteFolder;
    system.home = QDir::homePath();
    system.pathCase = Qt::CaseSensitive;
    return system;
}
#endif

} // namespace kelvane
