#include "cli/batchfiles.h"

#include "compose/filekind.h"
#include "compose/messagetext.h"

#include <QDir>

namespace kelvane {

namespace {

QString shownPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(path));
}

// Names that differ only in case are one file to the game, on every system.
QString batchIdentity(const QString &path)
{
    return fileIdentity(path).toCaseFolded();
}

} // namespace

BatchFiles::BatchFiles(const QStringList &characterFiles, const QString &meshFile)
{
    for (const QString &file : characterFiles + QStringList{meshFile}) {
        if (const QString identity = batchIdentity(file); !identity.isEmpty())
            m_inputs.insert(identity, file);
    }
}

std::optional<QString> BatchFiles::conflict(const QString &character, const QString &outputPath,
                                            bool replacingItselfAsked) const
{
    const QString identity = batchIdentity(outputPath);
    if (identity.isEmpty())
        return std::nullopt;
    if (const auto earlier = m_outputs.constFind(identity); earlier != m_outputs.cend()) {
        if (identity == batchIdentity(character))
            return QStringLiteral("%1: skipped; it is the same file as %2, which this run has "
                                  "already extended.")
                .arg(shownPath(character), shownPath(*earlier));
        return QStringLiteral("%1: skipped; its new file %2 was already written for %3 in this "
                              "run. Give the files separate runs with --name.")
            .arg(shownPath(character), shownPath(outputPath), shownPath(*earlier));
    }
    const auto input = m_inputs.constFind(identity);
    if (input == m_inputs.cend())
        return std::nullopt;
    if (identity != batchIdentity(character))
        return QStringLiteral("%1: skipped; its new file %2 would replace %3, which this run "
                              "reads. Choose another name with --name or --suffix.")
            .arg(shownPath(character), shownPath(outputPath), shownPath(*input));
    if (!replacingItselfAsked)
        return QStringLiteral("%1: skipped; its new file would replace it. Give --in-place to "
                              "replace it by its extended version.")
            .arg(shownPath(character));
    return std::nullopt;
}

void BatchFiles::written(const QString &character, const QString &outputPath)
{
    m_outputs.insert(batchIdentity(outputPath), character);
}

} // namespace kelvane
