#include "inputs/inputfiles.h"

#include "base/filekind.h"
#include "base/linelist.h"
#include "base/messagetext.h"
#include "formats/binarycharacter.h"
#include "formats/fileformats.h"
#include "formats/textcharacter.h"
#include "inputs/archivepath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvane {

namespace {

constexpr qint64 kPiece = 64 * 1024;

Failure<QString> readFailure(const QString &path, const QString &reason)
{
    return {QStringLiteral("%1: the file cannot be read (%2).").arg(shownName(path), reason)};
}

Failure<QString> tooLarge(const QString &path)
{
    return {QStringLiteral("%1: the file is larger than %2 MB, far larger than any character "
                           "file; it cannot be one.")
                .arg(shownName(path), QString::number(kMaxCharacterFileBytes / (1024 * 1024)))};
}

qsizetype countCrLf(const QByteArray &text, qsizetype from)
{
    qsizetype count = 0;
    for (qsizetype at = text.indexOf("\r\n", from); at >= 0; at = text.indexOf("\r\n", at + 2))
        ++count;
    return count;
}

// The first bytes of an input file, and how many it holds.
struct FileStart {
    QByteArray bytes;
    qint64 size = 0;
};

Result<FileStart> readFileStart(const InputFile &input, qint64 maxBytes)
{
    if (input.archive) {
        const Result<QByteArray> bytes = input.archive->readEntry(input.entry, maxBytes);
        if (!bytes.ok())
            return Failure{bytes.error()};
        return FileStart{bytes.value(), input.entry.size};
    }
    QFile file;
    if (const Result<void> opened = openRegularFile(file, input.path); !opened.ok())
        return Failure{opened.error()};
    QByteArray bytes;
    while (bytes.size() < maxBytes) {
        const QByteArray piece = file.read(maxBytes - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        return readFailure(input.path, file.errorString());
    return FileStart{bytes, file.size()};
}

// Opens a file found regular without waiting; why not when it cannot be.
std::optional<QString> openChecked(QFile &file, const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return QStringLiteral("it is no longer a regular file");
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
#endif
    return std::nullopt;
}

} // namespace

Result<void> openRegularFile(QFile &file, const QString &path)
{
    if (const Result<void> checked = checkLooseFile(path); !checked.ok())
        return Failure{checked.error()};
    if (const std::optional<QString> fault = openChecked(file, path))
        return readFailure(path, *fault);
    return {};
}

Result<void> openRegularFileUnnamed(QFile &file, const QString &path)
{
    switch (fileKindOf(path)) {
    case FileKind::Regular:
        break;
    case FileKind::Missing:
        return Failure{QStringLiteral("the file does not exist")};
    case FileKind::Folder:
        return Failure{QStringLiteral("it is a folder")};
    case FileKind::Special:
        return Failure{QStringLiteral("it is not a regular file")};
    }
    if (const std::optional<QString> fault = openChecked(file, path))
        return Failure{*fault};
    return {};
}

Result<void> checkInputFile(const QString &path)
{
    if (archivePathOf(path)) {
        if (const Result<InputFile> found = findInputFile(path); !found.ok())
            return Failure{found.error()};
        return {};
    }
    return checkLooseFile(path);
}

Result<void> checkLooseFile(const QString &path)
{
    switch (fileKindOf(path)) {
    case FileKind::Regular:
        return {};
    case FileKind::Missing:
        if (nameWasUndecodable(path))
            return Failure{QStringLiteral("%1: the file name holds bytes that are not text in the "
                                          "system's encoding, so the file cannot be opened under "
                                          "it; rename the file.")
                               .arg(shownName(path))};
        return Failure{QStringLiteral("%1: the file does not exist.").arg(shownName(path))};
    case FileKind::Folder:
        return Failure{QStringLiteral("%1: this is a folder, not a file.").arg(shownName(path))};
    case FileKind::Special:
        break;
    }
    return Failure{QStringLiteral("%1: this is not a regular file (it may be a pipe, a device or a "
                                  "socket); only regular files are read.")
                       .arg(shownName(path))};
}

Result<InputFile> findInputFile(const QString &path)
{
    const std::optional<ArchivePath> inside = archivePathOf(path);
    if (!inside)
        return InputFile{path, std::nullopt, {}};
    if (inside->inner.isEmpty())
        return Failure{QStringLiteral("%1: this is an archive; choose a file inside it.")
                           .arg(shownName(path))};
    Result<FarArchive> archive = openArchive(*inside);
    if (!archive.ok())
        return Failure{archive.error()};
    const FarEntry *entry = archive.value().find(inside->inner);
    if (!entry)
        return Failure{QStringLiteral("%1: the archive holds no entry %2.")
                           .arg(shownName(inside->archive), shownName(inside->inner))};
    return InputFile{path, archive.value(), *entry};
}

QString inputIdentity(const InputFile &input)
{
    if (input.archive)
        return fileIdentity(input.archive->path()) + QStringLiteral("//") +
               input.entry.name.toCaseFolded();
    return fileIdentity(input.path);
}

Result<QByteArray> readCharacterFile(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    return readCharacterFile(input.value());
}

Result<QByteArray> readCharacterFile(const InputFile &input)
{
    const QString &path = input.path;
    const qint64 budget = readBudgetOf(FileRole::Character);
    if (input.archive) {
        if (input.entry.size > budget)
            return tooLarge(path);
        return input.archive->readEntry(input.entry, input.entry.size);
    }

    QFile file;
    if (const Result<void> opened = openRegularFile(file, path); !opened.ok())
        return Failure{opened.error()};
    if (!file.isSequential() && file.size() > budget)
        return tooLarge(path);

    // Reads in pieces until every line used has ended in CR LF; how many are
    // used is known once the count line has. A binary file is read whole.
    QByteArray bytes;
    qsizetype lineEnds = 0;
    qsizetype linesUsed = -1;
    bool binary = false;
    while (binary || linesUsed < 0 || lineEnds < linesUsed) {
        const qsizetype searchFrom = qMax<qsizetype>(0, bytes.size() - 1);
        const QByteArray piece = file.read(qMin(kPiece, budget + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > budget)
            return tooLarge(path);
        if (bytes.size() == piece.size())
            binary = looksLikeBinaryCharacter(bytes);
        if (binary)
            continue;
        lineEnds += countCrLf(bytes, searchFrom);
        if (linesUsed < 0 && lineEnds > kSkinCountLine)
            linesUsed = characterLinesUsed(splitLines(bytes, kSkinCountLine + 1).constLast());
    }
    if (file.error() != QFileDevice::NoError)
        return readFailure(path, file.errorString());
    return bytes;
}

Result<QByteArray> readWholeFile(const QString &path)
{
    // One byte more than the largest file taken tells a larger one.
    const Result<FileStart> read =
        readFileStart(InputFile{path, std::nullopt, {}}, kMaxCharacterFileBytes + 1);
    if (!read.ok())
        return Failure{read.error()};
    if (read.value().bytes.size() > kMaxCharacterFileBytes)
        return tooLarge(path);
    return read.value().bytes;
}

Result<QByteArray> readWholeInput(const InputFile &input, qint64 budget, const QString &kind)
{
    const auto tooLargeFor = [&] {
        return Failure{
            inputFileFault(input.path, QStringLiteral("the file is larger than %1 MB, far larger "
                                                      "than any %2; it cannot be one.")
                                           .arg(budget / (1024 * 1024))
                                           .arg(kind))};
    };
    if (input.archive) {
        if (input.entry.size > budget)
            return tooLargeFor();
        return input.archive->readEntry(input.entry, input.entry.size);
    }
    QFile file;
    if (const Result<void> opened = openRegularFile(file, input.path); !opened.ok())
        return Failure{opened.error()};
    if (file.size() > budget)
        return tooLargeFor();
    // Read to the end, not to the size: the file may grow meanwhile.
    QByteArray bytes;
    while (bytes.size() <= budget) {
        const QByteArray piece = file.read(qMin(kPiece, budget + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        return readFailure(input.path, file.errorString());
    if (bytes.size() > budget)
        return tooLargeFor();
    return bytes;
}

Result<Mesh> readMeshFile(const QString &path)
{
    const Result<InputFile> input = findInputFile(path);
    if (!input.ok())
        return Failure{input.error()};
    return readMeshFile(input.value());
}

Result<Mesh> readMeshFile(const InputFile &input)
{
    // An archive's entry is read at once as far as either reader may need: its
    // size is known, and each read opens the archive again. The text reader
    // uses no more of it than of a loose file.
    const qint64 textBudget = formatFor(FileRole::Mesh, Encoding::Text).readBudget;
    const qint64 binaryBudget = formatFor(FileRole::Mesh, Encoding::Binary).readBudget;
    Result<FileStart> start = readFileStart(input, input.archive ? binaryBudget : textBudget);
    if (!start.ok())
        return Failure{start.error()};
    Result<Mesh> mesh = meshOf(start.value().bytes, start.value().size);
    if (!mesh.ok() && start.value().size > start.value().bytes.size() &&
        start.value().bytes.size() < binaryBudget) {
        start = readFileStart(input, binaryBudget);
        if (!start.ok())
            return Failure{start.error()};
        mesh = meshOf(start.value().bytes, start.value().size);
    }
    if (!mesh.ok())
        return Failure{inputFileFault(input.path, mesh.error())};
    return mesh;
}

Result<const FileFormat *> formatOfFile(const QString &path)
{
    const Result<FileStart> start =
        readFileStart(InputFile{path, std::nullopt, {}}, kRecognitionBytes);
    if (!start.ok())
        return Failure{start.error()};
    return formatOf(start.value().bytes, start.value().size);
}

QString inputFileFault(const QString &path, const QString &reason)
{
    if (const std::optional<ArchivePath> inside = archivePathOf(path))
        return shownName(QFileInfo(inside->archive).fileName() + QLatin1Char('/') + inside->inner) +
               QStringLiteral(": ") + reason;
    return shownName(QFileInfo(path).fileName()) + QStringLiteral(": ") + reason;
}

QString inputFilePath(const QString &folder, const QString &fileName)
{
    return folder + QDir::separator() + fileName;
}

} // namespace kelvane
