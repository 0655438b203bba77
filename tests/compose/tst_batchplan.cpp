// Several character files planned as one batch.
#include "compose/batchplan.h"
#include "tests/support/files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

QByteArray bmpHeader(quint16 bits, char fill)
{
    QByteArray bmp = "BM" + QByteArray(52, fill);
    qToLittleEndian<quint32>(40, bmp.data() + 14);
    qToLittleEndian<qint32>(64, bmp.data() + 18);
    qToLittleEndian<qint32>(64, bmp.data() + 22);
    qToLittleEndian(bits, bmp.data() + 28);
    return bmp;
}

} // namespace

// The folder written into is checked once for the whole batch, converting the
// download once and asking for the games once; yet every file's plan holds
// the findings, and the questions say each once.
TEST(BatchPlan, TheGameIsCheckedOncePerFolderAndSaidOnce)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("skins") && QDir(root.path()).mkpath("out"));
    const QString out = QDir::toNativeSeparators(root.filePath("out"));
    const QString mesh = QDir::toNativeSeparators(root.filePath("skins/hat.skn"));
    ASSERT_TRUE(testsupport::writeFile(mesh, testsupport::meshFile("hat", "HEAD")));
    ASSERT_TRUE(testsupport::writeFile(root.filePath("skins/hat-tex.bmp"), bmpHeader(24, 'x')));
    ASSERT_TRUE(testsupport::writeFile(root.filePath("out/hat-tex.bmp"), bmpHeader(8, 'y')));
    QStringList characters;
    QList<BatchFile> files;
    for (const QString name : {"A001MA_x", "B001FAFit_y", "C001MA_z"}) {
        characters.append(QDir::toNativeSeparators(root.filePath("skins/" + name + ".cmx")));
        ASSERT_TRUE(testsupport::writeFile(characters.last(),
                                           testsupport::characterFile({{"PELVIS", "body"}})));
        files.append({characters.last(), name + "_hat", out});
    }
    int conversions = 0;
    int searches = 0;
    BatchPlan batch(
        characters, mesh,
        [&](const QString &) {
            ++searches;
            return QStringList();
        },
        [&](const QString &) -> Result<QByteArray> {
            ++conversions;
            return bmpHeader(8, '\0');
        });
    const QList<PlannedFile> planned = batch.planAll(files);
    EXPECT_EQ(conversions, 1);
    EXPECT_EQ(searches, 1);

    QList<AttachPlan> plans;
    for (const PlannedFile &file : planned) {
        ASSERT_TRUE(file.mayBeWritten()) << file.fault.toStdString();
        const QString findings = file.plan->gameCheck.findings(Copies::Offered).join('\n');
        EXPECT_TRUE(findings.contains("holds another picture than")) << findings.toStdString();
        plans.append(*file.plan);
    }
    const BatchQuestions questions = batchQuestions(plans);
    EXPECT_EQ(questions.gameCheck.findings(Copies::Offered),
              plans.first().gameCheck.findings(Copies::Offered));
    EXPECT_EQ(questions.gameCheck.copies.size(), plans.first().gameCheck.copies.size());
    EXPECT_FALSE(questions.onlyPlacesTaken);
    EXPECT_TRUE(questions.replacing.isEmpty() && questions.refusal.isEmpty());
}
