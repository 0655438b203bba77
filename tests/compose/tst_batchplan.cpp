// Several character files planned as one batch.
#include "compose/batchplan.h"
#include "tests/support/files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;

// The folder written into is checked once for the whole batch, asking for the
// games once; yet every file's plan holds the findings, and the questions say
// each once.
TEST(BatchPlan, TheGameIsCheckedOncePerFolderAndSaidOnce)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("skins") && QDir(root.path()).mkpath("out"));
    const QString out = QDir::toNativeSeparators(root.filePath("out"));
    const QString mesh = QDir::toNativeSeparators(root.filePath("skins/hat.skn"));
    ASSERT_TRUE(testsupport::writeFile(mesh, testsupport::meshFile("hat", "HEAD")));
    QStringList characters;
    QList<BatchFile> files;
    for (const QString name : {"A001MA_x", "B001FAFit_y", "C001MA_z"}) {
        characters.append(QDir::toNativeSeparators(root.filePath("skins/" + name + ".cmx")));
        ASSERT_TRUE(testsupport::writeFile(characters.last(),
                                           testsupport::characterFile({{"PELVIS", "body"}})));
        files.append({characters.last(), name + "_hat", out});
    }
    int searches = 0;
    const auto games = [&](const QString &) { return ++searches, QStringList(); };
    BatchPlan batch(characters, mesh, games, {});
    const QList<PlannedFile> planned = batch.planAll(files);
    EXPECT_EQ(searches, 1);

    QList<AttachPlan> plans;
    for (const PlannedFile &file : planned) {
        ASSERT_TRUE(file.mayBeWritten()) << file.fault.toStdString();
        const QString findings = file.plan->gameCheck.findings(Copies::Offered).join('\n');
        EXPECT_TRUE(findings.contains("hat-tex.bmp is missing")) << findings.toStdString();
        plans.append(*file.plan);
    }
    const BatchQuestions questions = batchQuestions(plans);
    EXPECT_EQ(questions.gameCheck.findings(Copies::Offered),
              plans.first().gameCheck.findings(Copies::Offered));
    EXPECT_EQ(questions.gameCheck.copies.size(), plans.first().gameCheck.copies.size());
}
