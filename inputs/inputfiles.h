#pragma once

#include "base/result.h"
#include "formats/fararchive.h"
#include "formats/meshfile.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

namespace kelvane {

// The input files as the create command reads them: loose files, or entries
// of a FAR archive named by a path through it ("ARCHIVE.far/ENTRY"). Errors
// name the file and the fault.

// Whether the file at path can be read as an input: it exists under a name the
// system could decode, and it is a regular file (links followed), so that
// opening it never waits. Nothing is opened. An archive's entry must be in
// its archive, whose manifest is read.
Result<void> checkInputFile(const QString &path);
// The same for a file on disk, whatever its name: never an archive's entry.
Result<void> checkLooseFile(const QString &path);

// An input as found: a loose file, or an entry found in its archive, so that
// reading it looks the entry up no more.
struct InputFile {
    QString path;
    std::optional<FarArchive> archive; // the archive holding the entry, for an entry
    FarEntry entry;
};

// The input at path, checked as checkInputFile does.
Result<InputFile> findInputFile(const QString &path);

// What tells two inputs apart: an archive's entries by the archive and their
// names (in any case), other files as fileIdentity says.
QString inputIdentity(const InputFile &input);

Result<QByteArray> readCharacterFile(const InputFile &input);
Result<Mesh> readMeshFile(const InputFile &input);

// Reads a character file as far as composing uses it: a text file up to the
// end of the last skin group its count announces, a binary file whole. A text
// file without any CR LF is read to its end, since its line ends then depend
// on the whole text. A file larger than any character file is refused unread.
Result<QByteArray> readCharacterFile(const QString &path);

// Reads a loose file whole, as long as it is no larger than a character file
// can be; what it holds does not matter.
Result<QByteArray> readWholeFile(const QString &path);

// Reads an input whole, as long as it holds no more than budget bytes; a
// larger one is refused, named as no kind of file can be that large.
Result<QByteArray> readWholeInput(const InputFile &input, qint64 budget, const QString &kind);

// Reads the mesh of a mesh file of either format: as much as a text mesh's
// reader needs, and when that is no text mesh, the start of a binary one
// (the formats' read budgets; see meshOf).
Result<Mesh> readMeshFile(const QString &path);

struct FileFormat;

// The kind of the loose file at path, judged by its first bytes; nothing when
// it is of no kind Kelvane knows. Only a regular file is opened, never waited on.
Result<const FileFormat *> formatOfFile(const QString &path);

// Opens the loose regular file at path for reading. Nothing else is opened,
// and the opening never waits: a pipe put in the file's place meanwhile is
// refused too.
Result<void> openRegularFile(QFile &file, const QString &path);
// The same, the failure giving the reason only ("it is a folder"), for
// messages that name the file themselves.
Result<void> openRegularFileUnnamed(QFile &file, const QString &path);

// The path of an input file: the folder, a separator (always, even after a
// folder ending in one, which every file system accepts), the file name.
QString inputFilePath(const QString &folder, const QString &fileName);

// The message for a fault in the content of the input file at path.
QString inputFileFault(const QString &path, const QString &reason);

} // namespace kelvane
