#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace kelvane {

// One system the game may be installed in, as it names its folders: Windows
// itself, a Wine prefix, or the user's own system.
struct SearchedSystem {
    // The text of a registry value, empty when there is none.
    std::function<QString(const QString &key, const QString &name)> registry;
    // The existing folder a path, written as this system writes it, names;
    // empty when there is none.
    std::function<QString(const QString &path)> folder;
    QStringList programFiles;
    QString home;
    // How the system compares the paths it writes.
    Qt::CaseSensitivity pathCase = Qt::CaseInsensitive;
    // Why files of the system were left unread.
    QStringList notes;
};

#ifdef Q_OS_WIN
// Windows itself: its registry and Program Files folders.
SearchedSystem windowsItself();
#else
// The Wine prefix in prefixFolder, its registry read for registryKeys (each
// beginning with its hive) only.
SearchedSystem winePrefix(const QString &prefixFolder, const QStringList &registryKeys);
// The user's own system: folders under the home folder.
SearchedSystem ownSystem();
#endif

} // namespace kelvane
