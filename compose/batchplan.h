#pragma once

#include "compose/attach.h"
#include "compose/batchfiles.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kelvane {

// One mesh attached to several character files, planned as one unit for
// either front end: each file prepared, checked against the batch's other
// files (BatchFiles), and the game checked once per folder written into
// rather than once per file. The front end answers the questions the plan
// gathers (batchQuestions) and carries out each file's plan.

// One character file of the batch, named as the front end names it.
struct BatchFile {
    QString characterPath;
    QString newName;
    QString outputFolder;
    // Whether its new file may replace the character file itself.
    bool replacingItselfAsked = true;
};

// A file planned: its attach plan, or why it has none; a plan that collides
// with another file of the batch holds the conflict and must not be written.
struct PlannedFile {
    QString characterPath;
    std::optional<AttachPlan> plan = {};
    QString fault = {};
    std::optional<BatchFiles::Conflict> conflict = {};

    bool mayBeWritten() const { return plan && !conflict; }
};

class BatchPlan final
{
public:
    // The games checked for a character the new files take the place of,
    // asked once for each folder written into.
    using GameFolders = std::function<QStringList(const QString &outputFolder)>;

    BatchPlan(const QStringList &characterFiles, const QString &meshPath, GameFolders gameFolders,
              TextureConverter convertTexture);

    // Plans one more file. Its output counts as taken once claimed.
    PlannedFile plan(const BatchFile &file);
    // Notes that the new file of planned is written, or is to be, and what
    // copying for the game did meanwhile: a folder copied into is checked
    // again for the next file.
    void claim(const PlannedFile &planned, const GameCopies &made = {});
    // Plans every file, claiming each output that may be written.
    QList<PlannedFile> planAll(const QList<BatchFile> &files);

private:
    // What the mesh needs in one folder, checked once.
    struct FolderCheck {
        GameCheck check;
        QStringList gameFolders;
    };
    const FolderCheck &folderCheck(const AttachPlan &plan);

    QString m_meshPath;
    BatchFiles m_files;
    GameFolders m_gameFolders;
    TextureConverter m_convertTexture;
    QHash<QString, FolderCheck> m_folderChecks;
};

// What a front end asks once for the plans it is about to carry out.
struct BatchQuestions {
    // The plans whose character file holds the mesh already.
    QList<qsizetype> holding;
    // What the game would miss for all of them: each folder's findings and
    // copies once, then what each new file's own name brings.
    GameCheck gameCheck;
    // The new files taking the place of a game's own character, and whether
    // that is all the game check finds while no copy is made.
    QStringList placesTaken;
    bool onlyPlacesTaken = false;
    // The plans that replace an existing file.
    QList<qsizetype> replacing;
    // Why nothing may be written while replaced files keep their old
    // content: one of them has no free backup name. Empty when none.
    QString refusal;
};

BatchQuestions batchQuestions(const QList<AttachPlan> &plans);

} // namespace kelvane
