#pragma once

#include <QList>
#include <QString>

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

    // The text a drive list shows for a drive of the prefix: "c: [wine]".
    static QString driveText(const QString &letter);
    // The letter a drive list text names ("c:"), or an empty string when the
    // text is not one of driveText's.
    static QString letterOf(const QString &driveText);

private:
    QString m_path;
};

} // namespace kelvane
