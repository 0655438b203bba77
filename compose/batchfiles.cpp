#include "compose/batchfiles.h"

#include "base/filekind.h"

namespace kelvane {

namespace {

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

std::optional<BatchFiles::Conflict> BatchFiles::conflict(const QString &character,
                                                         const QString &outputPath,
                                                         bool replacingItselfAsked) const
{
    const QString identity = batchIdentity(outputPath);
    if (identity.isEmpty())
        return std::nullopt;
    if (const auto earlier = m_outputs.constFind(identity); earlier != m_outputs.cend()) {
        if (identity == batchIdentity(character))
            return Conflict{Conflict::SameCharacter, *earlier};
        return Conflict{Conflict::SameOutput, *earlier};
    }
    const auto input = m_inputs.constFind(identity);
    if (input == m_inputs.cend())
        return std::nullopt;
    if (identity != batchIdentity(character))
        return Conflict{Conflict::ReplacesInput, *input};
    if (!replacingItselfAsked)
        return Conflict{Conflict::ReplacesItself, character};
    return std::nullopt;
}

void BatchFiles::written(const QString &character, const QString &outputPath)
{
    m_outputs.insert(batchIdentity(outputPath), character);
}

} // namespace kelvane
