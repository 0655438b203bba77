#include "foldercheck/renumber.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "foldercheck/innername.h"
#include "formats/fileformats.h"
#include "game/texturerule.h"
#include "inputs/inputfiles.h"
#include "replace/backup.h"
#include "replace/replace.h"
#include "replace/replacesteps.h"

#include <QDir>
#include <QFileInfo>

namespace kelvane {

namespace {

constexpr qsizetype kIdStart = 1;
constexpr qsizetype kIdLength = 3;

QString withId(const QString &fileName, const QString &id)
{
    return fileName.left(kIdStart) + id + fileName.mid(kIdStart + kIdLength);
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

// The name of the file at path as its folder lists it: Windows opens a file
// named in any case, and the new names keep the case the file has.
QString listedNameOf(const QString &path)
{
    const QFileInfo file(path);
    const QStringList names = namesIn(file.path());
    if (names.contains(file.fileName()))
        return file.fileName();
    for (const QString &name : names) {
        if (name.compare(file.fileName(), Qt::CaseInsensitive) == 0)
            return name;
    }
    return file.fileName();
}

bool nameFree(const QString &folder, const QString &name)
{
    return entryNamedIn(folder, name).isEmpty();
}

QString movedText(const QString &from, const QString &to)
{
    return QStringLiteral("renamed %1 to %2.")
        .arg(shownName(QFileInfo(from).fileName()), shownName(QFileInfo(to).fileName()));
}

Result<void> move(const QString &from, const QString &to)
{
    const Moved moved = moveToFreeName(from, to);
    switch (moved.outcome) {
    case Move::Done:
        return {};
    case Move::NameTaken:
        return Failure{QStringLiteral("%1 is taken.").arg(shownName(QFileInfo(to).fileName()))};
    case Move::OldNameLeft:
        return Failure{QStringLiteral("%1 was renamed, but its old name is left (%2).")
                           .arg(shownName(QFileInfo(from).fileName()), moved.reason)};
    case Move::Failed:
    case Move::Abandoned:
        break;
    }
    return Failure{QStringLiteral("%1 cannot be renamed (%2).")
                       .arg(shownName(QFileInfo(from).fileName()), moved.reason)};
}

} // namespace

QString idOfName(const QString &fileName)
{
    if (fileName.size() <= kIdStart + kIdLength || !fileName.at(0).isLetter())
        return {};
    return fileName.mid(kIdStart, kIdLength).toCaseFolded();
}

std::optional<QString> firstFreeId(const QSet<QString> &used)
{
    for (int number = 1; number <= 1000; ++number) {
        const QString id = QStringLiteral("%1").arg(number % 1000, 3, 10, QLatin1Char('0'));
        if (!used.contains(id))
            return id;
    }
    const QString characters = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz");
    for (const QChar a : characters) {
        for (const QChar b : characters) {
            for (const QChar c : characters) {
                const QString id = QString(a) + b + c;
                if (!used.contains(id))
                    return id.toUpper();
            }
        }
    }
    return std::nullopt;
}

Result<Renumbered> renumberCharacter(const QString &path, QSet<QString> &usedIds)
{
    QSet<QString> used = usedIds;
    for (const QString &name : namesIn(QFileInfo(path).path()))
        used.insert(idOfName(name));
    const std::optional<QString> id = firstFreeId(used);
    if (!id)
        return Failure{QStringLiteral("every three-character ID is in use.")};
    Result<Renumbered> done = renumberCharacterTo(path, *id);
    if (done.ok())
        usedIds.insert(id->toCaseFolded());
    return done;
}

Result<Renumbered> renumberCharacterTo(const QString &path, const QString &newId)
{
    const QString folder = QFileInfo(path).path();
    const QString fileName = listedNameOf(path);
    if (idOfName(fileName).isEmpty())
        return Failure{QStringLiteral("its name holds no ID.")};
    const QString newName = withId(fileName, newId);
    const QString newStem = withoutCharacterExtension(newName);
    const Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes.ok())
        return Failure{bytes.error()};
    const Result<QByteArray> renamed = withInnerName(bytes.value(), newStem.toLatin1());
    if (!renamed.ok())
        return Failure{renamed.error()};

    // Its own textures: of its prefix, with its own label.
    const QString stem = withoutCharacterExtension(fileName);
    const QString label = stem.mid(texturePrefixOf(fileName).size() + 1);
    QStringList textures;
    for (const CharacterTexture &texture : characterTexturesAmong(fileName, namesIn(folder))) {
        if (texture.label.compare(label, Qt::CaseInsensitive) == 0)
            textures.append(texture.fileName);
    }
    for (const QString &name : QStringList{newName} + textures) {
        const QString target = name == newName ? newName : withId(name, newId);
        if (!nameFree(folder, target))
            return Failure{QStringLiteral("%1 is taken.").arg(shownName(target))};
    }

    Renumbered out;
    const QString newPath = QDir(folder).filePath(newName);
    if (const Result<void> moved = move(path, newPath); !moved.ok())
        return Failure{moved.error()};
    out.path = newPath;
    out.lines.append(movedText(path, newPath));
    const Result<Replaced> written = replaceFile(newPath, renamed.value(), true);
    if (!written.ok())
        return Failure{QStringLiteral("%1 %2").arg(out.lines.join(u' '), written.error())};
    out.lines += written.value().settled;
    out.lines.append(
        QStringLiteral("wrote %1 as its inner name; the old file is kept as %2.")
            .arg(shownName(newStem), shownBackupName(written.value().backupPath, newPath)));
    for (const QString &texture : std::as_const(textures)) {
        const QString from = QDir(folder).filePath(texture);
        const QString to = QDir(folder).filePath(withId(texture, newId));
        const Result<void> moved = move(from, to);
        out.lines.append(moved.ok() ? movedText(from, to) : moved.error());
    }
    return out;
}

} // namespace kelvane
