// The game's archives next to loose files: listing the character files of a
// FAR archive of 10,000 entries and 300 MB against listing a folder of 10,000
// files named alike, as the window's file list does (leaving out the
// skeletons and animations named as character files, judged by their first
// bytes); and composing from an archive's entries against composing from the
// same files loose. Targets: listing the archive, fresh, at most the folder's
// time, composing from it at most 10 % more.
#include "compose/attach.h"
#include "formats/fararchive.h"
#include "inputs/archivecharacters.h"
#include "inputs/archivepath.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int kEntries = 10000;
constexpr qint64 kArchiveBytes = 300 * 1024 * 1024;
// Each entry takes an equal share of the archive, so that they spread over all of it.
constexpr qint64 kEntryBytes = kArchiveBytes / kEntries;
// The files composed from: a character file and a mesh halfway through the
// manifest, where looking an entry up by name takes an average time.
constexpr int kCharacter = kEntries / 2;
constexpr int kMesh = kCharacter + 1;
// Every 40th binary character file holds skeletons, as the game's skeletons
// and skills lie among its bodies.
constexpr int kSkeletonEvery = 160;
constexpr int kCharacterEntries = kEntries / 2 - (kEntries + kSkeletonEvery - 1) / kSkeletonEvery;

// Half of the names are character files, in both formats; the others meshes.
QString fileName(int i)
{
    static const char *const extensions[] = {".cmx.bcf", ".bmf", ".cmx", ".skn"};
    return QStringLiteral("B%1FAFit_%2%3")
        .arg(i % 1000, 3, 10, QLatin1Char('0'))
        .arg(i)
        .arg(QLatin1String(extensions[i % 4]));
}

void appendU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendString(QByteArray &out, const QByteArray &text)
{
    out += char(text.size());
    out += text;
}

// A body of 24 skins, as the game's adult bodies have, and glasses of 8 KB.
QByteArray characterBytes()
{
    QByteArray out;
    appendU32(out, 0);
    appendU32(out, 1);
    appendString(out, "B000FAFit_5000");
    appendU32(out, 0);
    appendU32(out, 0);
    appendU32(out, 24);
    for (int k = 0; k < 24; ++k) {
        appendString(out, "BONE" + QByteArray::number(k));
        appendString(out, "xskin-b000fafit_5000-BONE" + QByteArray::number(k) + "-BODY");
        appendU32(out, k % 2);
        appendU32(out, 0);
    }
    appendU32(out, 0);
    return out;
}

QByteArray meshBytes()
{
    QByteArray out;
    appendString(out, "glasses");
    appendString(out, "glasses-tex");
    appendU32(out, 2);
    appendString(out, "HEAD");
    appendString(out, "NECK");
    return out + QByteArray(8 * 1024, '\x3f');
}

void write(QFile &file, qint64 at, const QByteArray &bytes)
{
    if (!file.seek(at) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
}

// The archive (sparse: only its heading, the two entries composed from and its
// manifest are written) and the folder, made once for every benchmark of the run.
struct Fixture {
    Fixture()
    {
        QDir(dir.path()).mkpath(QStringLiteral("loose"));
        QFile file(archive);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(archive));
        QByteArray manifest;
        appendU32(manifest, kEntries);
        for (int i = 0; i < kEntries; ++i) {
            const QByteArray name = "Skins\\" + fileName(i).toLatin1();
            const QByteArray bytes = i == kCharacter           ? character
                                     : i == kMesh              ? mesh
                                     : i % kSkeletonEvery == 0 ? skeleton
                                                               : QByteArray();
            const qint64 size = bytes.isEmpty() || bytes == skeleton ? kEntryBytes : bytes.size();
            appendU32(manifest, quint32(size));
            appendU32(manifest, quint32(size));
            appendU32(manifest, quint32(16 + i * kEntryBytes));
            appendU32(manifest, quint32(name.size()));
            manifest += name;
            QFile loose(folder + QLatin1Char('/') + fileName(i));
            if (!loose.open(QIODevice::WriteOnly))
                qFatal("cannot create %s", qPrintable(loose.fileName()));
            write(loose, 0, bytes);
            if (!bytes.isEmpty())
                write(file, 16 + i * kEntryBytes, bytes);
        }
        QByteArray heading = "FAR!byAZ";
        appendU32(heading, 1);
        appendU32(heading, quint32(16 + kArchiveBytes));
        write(file, 0, heading);
        write(file, 16 + kArchiveBytes, manifest);
    }

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("loose"));
    const QString archive = dir.filePath(QStringLiteral("Expansion.far"));
    const QByteArray character = characterBytes();
    const QByteArray mesh = meshBytes();
    // A skeleton count, then the first skeleton's name.
    const QByteArray skeleton = QByteArray::fromHex("01000000") + "\x0e" + "adult-skeleton";
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

bool isCharacterName(const QString &name)
{
    return name.endsWith(QLatin1StringView(".cmx"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1StringView(".cmx.bcf"), Qt::CaseInsensitive);
}

void sortByName(QStringList &names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
}

// The character files in the archive's folder Skins, sorted as the window
// shows them. A stamp never seen before has the entries judged afresh.
QStringList characterEntries(const kelvane::FarArchive &archive, const kelvane::FileStamp &stamp)
{
    const QLatin1StringView folder("Skins/");
    const QSet<qsizetype> others = kelvane::entriesHoldingNoCharacter(archive, stamp);
    QStringList names;
    const QList<kelvane::FarEntry> &entries = archive.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &name = entries[i].name;
        if (name.startsWith(folder, Qt::CaseInsensitive) &&
            name.indexOf(QLatin1Char('/'), folder.size()) < 0 && isCharacterName(name) &&
            !others.contains(i))
            names.append(name.mid(folder.size()));
    }
    sortByName(names);
    return names;
}

void BM_ListFolder(benchmark::State &state)
{
    const QString folder = fixture().folder;
    for (auto _ : state) {
        QStringList names;
        for (QDirIterator entries(folder, QDir::Files | QDir::Hidden); entries.hasNext();) {
            entries.next();
            const QFileInfo entry = entries.fileInfo();
            if (isCharacterName(entry.fileName()) && entry.isFile())
                names.append(entry.fileName());
        }
        sortByName(names);
        // The folder's files are all empty: only the archive's are judged.
        if (names.size() != kEntries / 2)
            state.SkipWithError("wrong count of character files");
    }
}
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);

void BM_ListArchiveOpenedEachTime(benchmark::State &state)
{
    const QString archive = fixture().archive;
    kelvane::FileStamp fresh = kelvane::fileStamp(archive);
    for (auto _ : state) {
        ++fresh.modified;
        const kelvane::Result<kelvane::FarArchive> opened = kelvane::FarArchive::open(archive);
        if (!opened.ok() || characterEntries(opened.value(), fresh).size() != kCharacterEntries)
            state.SkipWithError("the archive cannot be listed");
    }
}
BENCHMARK(BM_ListArchiveOpenedEachTime)->Unit(benchmark::kMillisecond);

void BM_ListArchiveKept(benchmark::State &state)
{
    const QString archive = fixture().archive;
    for (auto _ : state) {
        const kelvane::FileStamp stamp = kelvane::fileStamp(archive);
        const kelvane::Result<kelvane::FarArchive> opened =
            kelvane::openArchive(kelvane::ArchivePath{archive, {}, stamp});
        if (!opened.ok() || characterEntries(opened.value(), stamp).size() != kCharacterEntries)
            state.SkipWithError("the archive cannot be listed");
    }
}
BENCHMARK(BM_ListArchiveKept)->Unit(benchmark::kMillisecond);

void compose(benchmark::State &state, const QString &folder)
{
    const QString character = folder + QLatin1Char('/') + fileName(kCharacter);
    const QString mesh = folder + QLatin1Char('/') + fileName(kMesh);
    for (auto _ : state) {
        const kelvane::Result<kelvane::Composed> composed =
            kelvane::composeFromFiles(character, mesh, QStringLiteral("B000FAFit_new"));
        if (!composed.ok())
            state.SkipWithError(qPrintable(composed.error()));
    }
}

void BM_ComposeFromLooseFiles(benchmark::State &state)
{
    compose(state, fixture().folder);
}
BENCHMARK(BM_ComposeFromLooseFiles)->Unit(benchmark::kMicrosecond);

void BM_ComposeFromArchiveEntries(benchmark::State &state)
{
    compose(state, fixture().archive + QStringLiteral("/Skins"));
}
BENCHMARK(BM_ComposeFromArchiveEntries)->Unit(benchmark::kMicrosecond);

// What composing from an archive adds per input: looking its entry up by name.
void BM_FindEntry(benchmark::State &state)
{
    const kelvane::Result<kelvane::FarArchive> opened = kelvane::openArchive(fixture().archive);
    const QString name = QStringLiteral("skins/") + fileName(kCharacter);
    for (auto _ : state)
        benchmark::DoNotOptimize(opened.value().find(name));
}
BENCHMARK(BM_FindEntry)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
