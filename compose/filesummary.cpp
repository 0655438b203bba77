#include "filesummary.h"

#include "linelist.h"

namespace kelvane {

CharacterFileSummary summarizeCharacterFile(const QString &path)
{
    const InputBytes read = readCharacterFile(path);
    if (!read.error.isEmpty())
        return {{}, read.error};
    const LineList lines = splitCharacterFile(read.bytes);
    if (const QString problem = characterFileProblem(lines); !problem.isEmpty())
        return {{}, inputFileFault(path, problem)};
    return {skinsOf(lines), {}};
}

MeshFileSummary summarizeMeshFile(const QString &path)
{
    const InputBytes read = readMeshFileStart(path);
    if (!read.error.isEmpty())
        return {{}, read.error};
    const LineList lines = splitLines(read.bytes);
    if (const QString problem = meshFileProblem(lines); !problem.isEmpty())
        return {{}, inputFileFault(path, problem)};
    return {attachedSkinOf(lines), {}};
}

} // namespace kelvane
