#include "platform/wineprefixes.h"

#include "platform/wineprefix.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace kelvane {

namespace {

// A folder of prefixes with more entries than this is not a keeper's.
constexpr qsizetype kMaxPrefixesPerKeeper = 256;

struct Keeper {
    const char *name;
    const char *folder; // below the home folder
};

const Keeper kKeepers[] = {
    {"Lutris", "Games"},
    {"Bottles", ".local/share/bottles/bottles"},
    {"Bottles (Flatpak)", ".var/app/com.usebottles.bottles/data/bottles/bottles"},
};

} // namespace

KnownPrefix prefixInUse()
{
    const QString configured = qEnvironmentVariable("WINEPREFIX");
    if (!configured.isEmpty())
        return {QDir::toNativeSeparators(configured), QStringLiteral("WINEPREFIX")};
    return {QDir::toNativeSeparators(QDir::home().filePath(QStringLiteral(".wine"))),
            QStringLiteral("Wine")};
}

QList<KnownPrefix> knownWinePrefixes()
{
    QList<KnownPrefix> prefixes;
#ifndef Q_OS_WIN
    QSet<QString> seen;
    const auto add = [&](const KnownPrefix &prefix) {
        const QString canonical = QFileInfo(prefix.folder).canonicalFilePath();
        if (!canonical.isEmpty() && !seen.contains(canonical)) {
            seen.insert(canonical);
            prefixes.append(prefix);
        }
    };
    const KnownPrefix inUse = prefixInUse();
    if (!WinePrefix(inUse.folder).drives().isEmpty())
        add(inUse);
    for (const Keeper &keeper : kKeepers) {
        const QDir folder(QDir::home().filePath(QLatin1StringView(keeper.folder)));
        const QStringList names =
            folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QString &name : names.first(qMin(names.size(), kMaxPrefixesPerKeeper))) {
            const QString prefix = folder.filePath(name);
            if (QFileInfo(QDir(prefix).filePath(QStringLiteral("drive_c"))).isDir())
                add({QDir::toNativeSeparators(prefix), QLatin1StringView(keeper.name)});
        }
    }
#endif
    return prefixes;
}

} // namespace kelvane
