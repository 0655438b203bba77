#include "tests/support/attachedcmxfile.h"

#include "inputs/inputfiles.h"

#include <QFileInfo>

namespace kelvane {

Result<AttachPlan> prepareAttachment(const AttachInputs &inputs)
{
    Result<AttachPlan> plan = prepareWithoutGameCheck(inputs);
    if (!plan.ok())
        return plan;
    AttachPlan attachment = std::move(plan).value();
    const GameCheck folderCheck =
        checkWhatTheGameNeeds(attachment.meshPath, attachment.mesh,
                              QFileInfo(attachment.outputPath).path(), inputs.convertTexture);
    addGameCheck(attachment, folderCheck, inputs.gameFolders);
    return attachment;
}

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
