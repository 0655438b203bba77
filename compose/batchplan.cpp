#include "compose/batchplan.h"

#include "game/gamecharacters.h"
#include "game/gamelayout.h"
#include "replace/backup.h"

#include <QFileInfo>
#include <QSet>

namespace kelvane {

namespace {

QString folderOf(const AttachPlan &plan)
{
    return QFileInfo(plan.outputPath).path();
}

// The findings the output's folder brings: all but the one its own name
// brings, which the plan's game check names last.
QList<GameFinding> folderFindings(const AttachPlan &plan)
{
    QList<GameFinding> found = plan.gameCheck.found;
    if (plan.takesThePlaceOf && !found.isEmpty())
        found.removeLast();
    return found;
}

} // namespace

BatchPlan::BatchPlan(const QStringList &characterFiles, const QString &meshPath,
                     GameFolders gameFolders, TextureConverter convertTexture)
    : m_meshPath(meshPath), m_files(characterFiles, meshPath),
      m_gameFolders(std::move(gameFolders)), m_convertTexture(std::move(convertTexture))
{
}

const BatchPlan::FolderCheck &BatchPlan::folderCheck(const AttachPlan &plan)
{
    const QString folder = folderOf(plan);
    if (const auto known = m_folderChecks.constFind(folder); known != m_folderChecks.cend())
        return *known;
    FolderCheck checked{checkWhatTheGameNeeds(plan.meshPath, plan.mesh, folder, m_convertTexture),
                        {}};
    // A folder inside a game is checked against that game alone.
    if (m_gameFolders && gameFolderHolding(folder).isEmpty())
        checked.gameFolders = m_gameFolders(folder);
    return *m_folderChecks.insert(folder, std::move(checked));
}

PlannedFile BatchPlan::plan(const BatchFile &file)
{
    PlannedFile planned{file.characterPath};
    Result<AttachPlan> prepared = prepareWithoutGameCheck(
        {file.characterPath, m_meshPath, file.newName, file.outputFolder, {}, m_convertTexture});
    if (!prepared.ok()) {
        planned.fault = prepared.error();
        return planned;
    }
    AttachPlan plan = std::move(prepared).value();
    const FolderCheck &checked = folderCheck(plan);
    addGameCheck(plan, checked.check, checked.gameFolders);
    planned.conflict =
        m_files.conflict(file.characterPath, plan.outputPath, file.replacingItselfAsked);
    planned.plan = std::move(plan);
    return planned;
}

void BatchPlan::claim(const PlannedFile &planned, const GameCopies &made)
{
    if (!planned.plan)
        return;
    m_files.written(planned.characterPath, planned.plan->outputPath);
    if (!made.copied.isEmpty() || !made.replaced.isEmpty())
        m_folderChecks.remove(folderOf(*planned.plan));
}

QList<PlannedFile> BatchPlan::planAll(const QList<BatchFile> &files)
{
    QList<PlannedFile> planned;
    for (const BatchFile &file : files) {
        planned.append(plan(file));
        if (planned.last().mayBeWritten())
            claim(planned.last());
    }
    return planned;
}

BatchQuestions batchQuestions(const QList<AttachPlan> &plans)
{
    BatchQuestions questions;
    QSet<QString> folders;
    QList<GameFinding> own;
    bool folderFindsNothing = true;
    for (qsizetype i = 0; i < plans.size(); ++i) {
        const AttachPlan &plan = plans[i];
        if (plan.alreadyHeld)
            questions.holding.append(i);
        if (plan.replacesFile) {
            questions.replacing.append(i);
            if (plan.backupPath.isEmpty() && questions.refusal.isEmpty())
                questions.refusal = noFreeBackupName(replacedFilePath(plan.outputPath));
        }
        // Every file of one folder needs the same there; the copies are offered once.
        if (!folders.contains(folderOf(plan))) {
            folders.insert(folderOf(plan));
            GameCheck folderCheck{folderFindings(plan), plan.gameCheck.copies};
            folderFindsNothing =
                folderFindsNothing && folderCheck.findings(Copies::Offered).isEmpty();
            questions.gameCheck.found += folderCheck.found;
            questions.gameCheck.copies += folderCheck.copies;
        }
        if (plan.takesThePlaceOf) {
            own.append(plan.gameCheck.found.last());
            questions.placesTaken.append(plan.outputPath);
        }
    }
    questions.gameCheck.found += own;
    questions.onlyPlacesTaken = folderFindsNothing;
    return questions;
}

} // namespace kelvane
