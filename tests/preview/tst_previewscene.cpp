#include "preview/previewscene.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;
namespace ts = testsupport;

namespace {

// The pixels of column x, from the top, that are not the black background.
QList<QRgb> drawnDown(const QImage &image, int x)
{
    QList<QRgb> drawn;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) != qRgb(0, 0, 0))
            drawn.append(image.pixel(x, y));
    return drawn;
}

// A game whose GameData/Skins holds every file of the scene.
class PreviewSceneTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(skins)); }
    Result<PreviewScene> load(const QString &character, const QString &mesh)
    {
        return loadPreviewScene({skins + '/' + character,
                                 mesh.isEmpty() ? mesh : skins + '/' + mesh,
                                 {dir.filePath("game")}});
    }
    void write(const QString &name, const QByteArray &bytes)
    {
        ASSERT_TRUE(ts::writeFile(skins + '/' + name, bytes));
    }
    QTemporaryDir dir;
    const QString skins = dir.filePath("game/GameData/Skins");
};

TEST_F(PreviewSceneTest, HeadWearingGlassesNeedsNoSkeleton)
{
    write("C001MA_head.cmx", ts::characterFile({{"HEAD", "face"}, {"HEAD", "gone"}}));
    write("face.skn", ts::boxMeshFile("face", "x", "HEAD", 0, 0.5f));
    write("glasses.skn", ts::boxMeshFile("glasses", "lens", "HEAD", 0.5f, 0.3f));
    write("C001MAmed_head.bmp", ts::bmpPicture(Qt::blue));
    const Result<PreviewScene> scene = load("C001MA_head.cmx", "glasses.skn");
    ASSERT_TRUE(scene.ok()) << scene.error().toStdString();
    EXPECT_EQ(scene.value().tones(), QStringList{"med"});
    EXPECT_TRUE(scene.value().skeletonUsed().isEmpty());
    const QString notes = scene.value().notes().join('\n');
    EXPECT_TRUE(notes.contains("\"gone\"") && notes.contains("\"lens\"")) << notes.toStdString();
    const QImage picture = scene.value().render({32, 32}, {0, 0, Qt::black}, "drk");
    // A tone not found draws the first: the face in the middle is blue.
    EXPECT_GT(qBlue(picture.pixel(16, 16)), qRed(picture.pixel(16, 16)));
}

// The hat is bound to HEAD, three units above the PELVIS the body is bound to.
TEST_F(PreviewSceneTest, EachMeshStandsWhereItsBonePutsIt)
{
    ASSERT_TRUE(ts::writeDressedCharacter(skins, true));
    const Result<PreviewScene> scene = load("B001MA_body.cmx", "hat.skn");
    ASSERT_TRUE(scene.ok()) << scene.error().toStdString();
    EXPECT_EQ(scene.value().tones(), (QStringList{"lgt", "drk"}));
    EXPECT_EQ(scene.value().skeletonUsed(),
              QDir::toNativeSeparators(skins + "/adult-skeleton.cmx"));
    const QImage picture = scene.value().render({96, 96}, {0, 0, Qt::black}, "drk");
    const QList<QRgb> drawn = drawnDown(picture, 48);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_GT(qRed(drawn.first()), 2 * qBlue(drawn.first())); // the hat on top
    EXPECT_GT(qBlue(drawn.last()), 2 * qRed(drawn.last()));   // the body below
}

TEST_F(PreviewSceneTest, RefusedNamingTheFileAndTheFault)
{
    ASSERT_TRUE(ts::writeDressedCharacter(skins, false));
    const QString unposed = load("B001MA_body.cmx", "hat.skn").error();
    EXPECT_TRUE(unposed.contains("adult-skeleton.cmx") &&
                unposed.contains(QDir::toNativeSeparators(skins)))
        << unposed.toStdString();

    write("adult-skeleton.cmx", ts::skeletonFile(3).chopped(40));
    EXPECT_TRUE(load("B001MA_body.cmx", "hat.skn").error().startsWith("adult-skeleton.cmx: "));

    write("C001MA_head.cmx", ts::characterFile({{"HEAD", "face"}}));
    write("face.skn", ts::boxMeshFile("face", "x", "HEAD", 0, 1).chopped(30));
    EXPECT_TRUE(load("C001MA_head.cmx", {}).error().startsWith("face.skn: "));
    EXPECT_TRUE(load("B001MA_body.cmx", "face.skn").error().startsWith("face.skn: "));
}

} // namespace
