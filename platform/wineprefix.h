#pragma once

#include <QDir>
#include <QList>
#include <QString>

#include <optional>

namespace kelvane {

// The drive letters of a Wine prefix, so that a game installed under Wine can
// be browsed by its drives. Each letter of the prefix's dosdevices folder that
// links to a folder is a drive rooted at that folder.
class WinePrefix final
{
public:
    struct Drive {
        QString letter; // lower case with colon, as "c:"
        QString root;   // the folder the letter links to, every link resolved
    };

    // The prefix Wine uses: $WINEPREFIX when set, otherwise ~/.wine.
    static WinePrefix inUse();
    explicit WinePrefix(const QString &path) : m_path(path) {}

    // The drives in letter order; none when the prefix does not exist. Read
    // afresh on every call, so a letter added or removed meanwhile counts.
    QList<Drive> drives() const;
    // The root of the drive with letter ("c:"), or an empty string when the
    // prefix has no such drive.
    QString rootOf(const QString &letter) const;

    // The folder of the prefix that an absolute Windows path names ("C:\Games",
    // either slash, either case of the letter), ".." and "." resolved within the
    // drive; each name that does not exist as written is matched without regard
    // to case, as Wine does. None when the path is not an absolute Windows path
    // or the prefix has no such drive.
    std::optional<QString> folderForWindowsPath(const QString &windowsPath) const;

    // The text a drive list shows for a drive of the prefix: "c: [wine]".
    static QString driveText(const QString &letter);
    // The letter a drive list text names ("c:"), or an empty string when the
    // text is not one of driveText's.
    static QString letterOf(const QString &driveText);

private:
    QString m_path;
};

// Whether path is an absolute Windows path: a drive letter, a colon, then a
// slash or backslash or nothing ("C:\Games", "c:/games", "D:").
bool isWindowsAbsolutePath(const QString &path);

// The folder a Windows path names in the Wine prefix in use, for a folder
// typed as the game knows it; none on Windows itself, where the path is used
// as it is, and none when no prefix maps the path's drive.
std::optional<QString> prefixPathForWindowsPath(const QString &path);

// The drive ("C:") of an absolute Windows path that the Wine prefix in use
// cannot map, for the message that says so; none when the path maps, is no
// Windows path, or on Windows itself.
std::optional<QString> unmappedWindowsDrive(const QString &path);

} // namespace kelvane
