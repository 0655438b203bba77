#include "tests/support/attachedcmxfile.h"

#include "inputs/inputfiles.h"

namespace kelvane {

Result<CreatedFile> CreateAttachedCmxFile(const QString &skinDirectory, const QString &skinFileName,
                                          const QString &meshDirectory, const QString &meshFileName,
                                          const QString &newName, const QString &outputFolder,
                                          const CreateOptions &options)
{
    const Result<AttachPlan> prepared =
        prepareAttachment({inputFilePath(skinDirectory, skinFileName),
                           inputFilePath(meshDirectory, meshFileName), newName, outputFolder});
    if (!prepared.ok())
        return Failure{prepared.error()};
    return carryOut(prepared.value(), {Copies::Offered, options.backup});
}

} // namespace kelvane
