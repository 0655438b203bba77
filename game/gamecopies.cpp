#include "game/gamecheck.h"

#include "base/filekind.h"
#include "base/messagetext.h"
#include "formats/fileformats.h"
#include "inputs/inputfiles.h"
#include "inputs/texturefiles.h"
#include "replace/backup.h"
#include "replace/replace.h"
#include "replace/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvane {

namespace {

QString fullPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

// Whether the file at path is of the kind a copy to it brings: a BMP for a
// texture, a mesh file for a mesh. Only such a file is replaced.
bool sameKind(const QString &path, bool texture)
{
    if (fileKindOf(path) != FileKind::Regular)
        return false;
    if (!texture)
        return readMeshFile(path).ok();
    return holdsGameTexture(path);
}

Result<QByteArray> bytesToCopy(const GameFileCopy &copy, const TextureConverter &convert)
{
    if (fileKindOf(copy.from) != FileKind::Regular)
        return Failure{QString()};
    if (copy.converted)
        return convert ? convert(copy.from) : Failure{QString()};
    QFile file;
    if (const Result<void> opened = openRegularFileUnnamed(file, copy.from); !opened.ok())
        return Failure{opened.error()};
    return file.readAll();
}

} // namespace

GameCopies copyForTheGame(const QList<GameFileCopy> &copies, Copies made,
                          const TextureConverter &convert)
{
    // Every copy's bytes are read or converted before anything is written,
    // so that a picture that cannot be converted changes nothing.
    struct Pending {
        const GameFileCopy *copy;
        QString replaced; // the file replaced; empty for a new file
        QByteArray bytes;
    };
    GameCopies done;
    QList<Pending> pending;
    for (const GameFileCopy &copy : copies) {
        const QFileInfo target(copy.to);
        const QString existing = entryNamedIn(target.absolutePath(), target.fileName());
        if (!existing.isEmpty() && fileKindOf(existing) == FileKind::Regular && !copy.converted &&
            sameFileContent(copy.from, existing))
            continue;
        const bool texture = isNamedAs(copy.to, gameTextureFormat());
        const bool mayReplace =
            made == Copies::MadeReplacing && !existing.isEmpty() && sameKind(existing, texture);
        if (!existing.isEmpty() && fileKindOf(existing) == FileKind::Regular && !mayReplace) {
            done.notes.append(QStringLiteral("%1 already exists with other content, so it was "
                                             "left as it is; check that it is the file the game "
                                             "needs.")
                                  .arg(fullPath(existing)));
            continue;
        }
        const Result<QByteArray> bytes = bytesToCopy(copy, convert);
        if (!bytes.ok() || (!existing.isEmpty() && !mayReplace)) {
            done.failures.append(QStringLiteral("%1 could not be copied into %2%3.")
                                     .arg(fullPath(copy.from), fullPath(target.absolutePath()),
                                          bytes.ok() || bytes.error().isEmpty()
                                              ? QString()
                                              : QStringLiteral(" (%1)").arg(bytes.error())));
            continue;
        }
        pending.append({&copy, mayReplace ? existing : QString(), bytes.value()});
    }
    if (!done.failures.isEmpty())
        return done;

    for (const Pending &next : std::as_const(pending)) {
        if (!next.replaced.isEmpty()) {
            // The file itself is replaced, through a link, as a character file is.
            const Result<Replaced> replaced =
                replaceFile(replacedFilePath(next.replaced), next.bytes, true);
            if (!replaced.ok()) {
                done.failures.append(replaced.error());
                return done;
            }
            done.replaced.append(
                QStringLiteral("%1 replaced; its previous content is kept as %2.")
                    .arg(fullPath(next.replaced),
                         shownName(QFileInfo(replaced.value().backupPath).fileName())));
        } else if (const Result<void> written = writeWholeFile(next.copy->to, next.bytes);
                   !written.ok()) {
            done.failures.append(QStringLiteral("%1 could not be copied into %2: %3")
                                     .arg(fullPath(next.copy->from),
                                          fullPath(QFileInfo(next.copy->to).absolutePath()),
                                          written.error()));
            return done;
        }
        const QString written =
            QDir::toNativeSeparators(next.replaced.isEmpty() ? next.copy->to : next.replaced);
        done.copied.append(written);
        if (next.copy->converted)
            done.converted.append(written);
    }
    return done;
}

} // namespace kelvane
