#include "cli/filepatterns.h"

#include "base/messagetext.h"
#include "inputs/archivepath.h"

#include <QDir>

#include <algorithm>

namespace kelvane {

namespace {

bool isWildcard(QChar c)
{
    return c == QLatin1Char('*') || c == QLatin1Char('?');
}

bool hasWildcard(QStringView text)
{
    return std::any_of(text.begin(), text.end(), isWildcard);
}

// Where the file name begins: after the last slash, backslash or drive colon.
qsizetype nameStart(const QString &path)
{
    for (qsizetype i = path.size(); i > 0; --i) {
        const QChar c = path.at(i - 1);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            return i;
    }
    return 0;
}

bool matches(QStringView pattern, QStringView name)
{
    // Backtracking over the last "*" only keeps this linear in practice.
    qsizetype p = 0, n = 0, starAt = -1, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == QLatin1Char('?') ||
                                          pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

// Windows' own matching: "NAME.*" takes "NAME" too.
bool matchesAsWindows(const QString &pattern, const QString &name)
{
    if (matches(pattern, name))
        return true;
    qsizetype stars = pattern.size();
    while (stars > 0 && pattern.at(stars - 1) == QLatin1Char('*'))
        --stars;
    return stars < pattern.size() && stars > 0 && pattern.at(stars - 1) == QLatin1Char('.') &&
           !name.contains(QLatin1Char('.')) && matches(QStringView(pattern).first(stars - 1), name);
}

// NTFS orders names by their capitals, code by code.
bool listedBefore(const QString &a, const QString &b)
{
    const int byCapitals = QString::compare(a.toUpper(), b.toUpper(), Qt::CaseSensitive);
    return byCapitals != 0 ? byCapitals < 0 : a < b;
}

// The names of the archive's entries in the folder that holds the entry a path
// leads to (its folder found without regard to case), or the failure to read
// the archive.
Result<QStringList> entriesInArchiveFolder(const ArchivePath &where)
{
    const qsizetype end = where.inner.lastIndexOf(QLatin1Char('/'));
    const QStringView folder = QStringView(where.inner).first(qMax(end, 0));
    const Result<FarArchive> archive = openArchive(where);
    if (!archive.ok())
        return Failure{archive.error()};
    QStringList names;
    for (const FarEntry &entry : archive.value().entries()) {
        const qsizetype slash = entry.name.lastIndexOf(QLatin1Char('/'));
        const QStringView entryFolder = QStringView(entry.name).first(qMax(slash, 0));
        if (entryFolder.compare(folder, Qt::CaseInsensitive) == 0)
            names.append(entry.name.mid(slash + 1));
    }
    names.removeDuplicates();
    return names;
}

} // namespace

Result<QStringList> expandFilePatterns(const QStringList &arguments, const FolderLister &listFolder)
{
    QStringList expanded;
    for (const QString &argument : arguments) {
        const qsizetype start = nameStart(argument);
        const QString folder = argument.first(start);
        const QString pattern = argument.mid(start);
        if (!hasWildcard(argument)) {
            expanded.append(argument);
            continue;
        }
        // Off Windows the shell has had its go at patterns outside archives.
        const std::optional<ArchivePath> inside = archivePathOf(argument);
        if (!inside && !listFolder) {
            expanded.append(argument);
            continue;
        }
        if (hasWildcard(folder))
            return Failure{QStringLiteral("%1: * and ? are taken in a file's name only, not in "
                                          "the names of its folders.")
                               .arg(shownName(argument))};
        Result<QStringList> listed =
            inside
                ? entriesInArchiveFolder(*inside)
                : Result<QStringList>(listFolder(folder.isEmpty() ? QStringLiteral(".") : folder));
        if (!listed.ok())
            return Failure{listed.error()};
        QStringList names = listed.value();
        names.removeIf([&](const QString &name) { return !matchesAsWindows(pattern, name); });
        if (names.isEmpty())
            return Failure{
                QStringLiteral("%1: no file matches this pattern.").arg(shownName(argument))};
        std::sort(names.begin(), names.end(), listedBefore);
        for (const QString &name : std::as_const(names))
            expanded.append(folder + name);
    }
    return expanded;
}

QStringList filesInFolder(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace kelvane
