// kelvane-attach --preview run as a process, as players run it.
#include "cli/commandline.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Exit code and standard error of a run in folder, where no game is found.
std::pair<int, QString> run(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", folder + "/home");
    environment.insert("WINEPREFIX", folder + "/prefix");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KELVANE_ATTACH_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    // Windows ends the printed lines with CR LF.
    EXPECT_EQ(process.readAllStandardOutput().replace("\r\n", "\n"),
              process.exitCode() ? "" : "out.png\n");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

TEST(PreviewCommand, WritesThePictureOrNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::writeDressedCharacter(dir.path(), false));
    const auto [unposed, why] =
        run(dir.path(), {"--preview", "out.png", "B001MA_body.cmx", "hat.skn"});
    EXPECT_TRUE(unposed == 1 && why.contains("adult-skeleton.cmx")) << why.toStdString();
    ASSERT_TRUE(testsupport::writeDressedCharacter(dir.path(), true));
    EXPECT_EQ(run(dir.path(), {"--preview", "out.png", "--tone", "med", "B001MA_body.cmx"}).first,
              1);
    EXPECT_EQ(run(dir.path(), {"--preview", "none/out.png", "B001MA_body.cmx"}).first, 1);
#ifdef Q_OS_UNIX // never through a link onto the file it leads to
    ASSERT_TRUE(QFile::link(dir.filePath("hat.skn"), dir.filePath("link.png")));
    EXPECT_EQ(run(dir.path(), {"--preview", "link.png", "B001MA_body.cmx"}).first, 1);
    EXPECT_TRUE(testsupport::readFile(dir.filePath("hat.skn")).startsWith("hat"));
#endif
    const qsizetype files = QDir(dir.path()).entryList(QDir::Files).size();

    const auto [drawn, notes] =
        run(dir.path(), {"--preview", "out.png", "--size", "64x48", "--tone", "drk", "--angle",
                         "-30", "B001MA_body.cmx", "hat.skn"});
    EXPECT_EQ(drawn, 0) << notes.toStdString();
    EXPECT_TRUE(notes.startsWith("kelvane-attach: note: ")) << notes.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), files + 1);
    EXPECT_EQ(QImage(dir.filePath("out.png"), "PNG").size(), QSize(64, 48));
}

// A head put on the body with --with; a texture label asked for must exist.
TEST(PreviewCommand, WithPutsAHeadOnTheBodyAndTextureNamesALabel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::writeDressedCharacter(dir.path(), true));
    namespace ts = testsupport;
    ASSERT_TRUE(
        ts::writeFile(dir.filePath("B001MA_body.cmx"), ts::characterFile({{"PELVIS", "body"}})));
    ASSERT_TRUE(
        ts::writeFile(dir.filePath("C001MA_pat.cmx"), ts::characterFile({{"HEAD", "face"}})));
    ASSERT_TRUE(ts::writeFile(dir.filePath("C001MAlgt_patrick.bmp"), ts::bmpFile(Qt::red)));
    const auto [drawn, notes] =
        run(dir.path(), {"--preview", "out.png", "--size", "64x64", "--with", "C001MA_pat.cmx",
                         "--texture", "BODY", "B001MA_body.cmx"});
    ASSERT_EQ(drawn, 0) << notes.toStdString();
    // The head is red above the blue body.
    const QImage picture(dir.filePath("out.png"), "PNG");
    QList<QRgb> column;
    for (int y = 0; y < 64; ++y)
        if (picture.pixel(32, y) != picture.pixel(0, 0))
            column.append(picture.pixel(32, y));
    ASSERT_FALSE(column.isEmpty());
    EXPECT_GT(qRed(column.first()), 2 * qBlue(column.first()));
    EXPECT_GT(qBlue(column.last()), 2 * qRed(column.last()));
    const auto [failed, why] =
        run(dir.path(), {"--preview", "out.png", "--texture", "casual", "B001MA_body.cmx"});
    EXPECT_TRUE(failed == 1 && why.contains("found: body")) << why.toStdString();
}

TEST(PreviewCommand, UsageFaultsExitWithTwo)
{
    const QList<QStringList> misuses = {
        {"--preview", "out.png"},
        {"--preview", "out.png", "a.cmx", "b.cmx", "hat.skn"},
        {"--preview", "a.cmx", "b.cmx", "hat.skn"},
        {"--preview", "out.png", "--size", "0x0", "a.cmx"},
        {"--preview", "out.png", "--size", "8193x10", "a.cmx"},
        {"--preview", "out.png", "--size", "4097x4096", "a.cmx"},
        {"--texture", "casual", "a.cmx"},
        {"--with", "C001MA_pat.cmx", "a.cmx", "hat.skn"},
        {"--preview", "out.png", "--angle", "left", "a.cmx"},
        {"--preview", "out.png", "--tone", "pale", "a.cmx"},
        {"--preview", "out.png", "--out", ".", "a.cmx", "hat.skn"},
        {"--size", "64x64", "a.cmx", "hat.skn"},
    };
    for (const QStringList &arguments : misuses)
        EXPECT_FALSE(kelvane::parseAttachJob(QStringList{"kelvane-attach"} + arguments).ok())
            << arguments.join(' ').toStdString();
    QTemporaryDir dir;
    EXPECT_EQ(run(dir.path(), misuses.constLast()).first, 2);
}

} // namespace
