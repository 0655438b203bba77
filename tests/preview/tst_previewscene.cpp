#include "preview/previewscene.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;
namespace ts = testsupport;

namespace {

const QColor kBackground(0, 0, 0);

// The rows where pixels mostly of one colour lie: the first and the last.
struct Rows {
    int first = -1;
    int last = -1;
};

Rows rowsOf(const QImage &image, bool (*isColour)(QRgb))
{
    Rows rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isColour(image.pixel(x, y))) {
                rows.first = rows.first < 0 ? y : rows.first;
                rows.last = y;
            }
        }
    }
    return rows;
}

bool isRed(QRgb p)
{
    return qRed(p) > 2 * qGreen(p) + 10 && qRed(p) > 2 * qBlue(p) + 10;
}

bool isBlue(QRgb p)
{
    return qBlue(p) > 2 * qRed(p) + 10 && qBlue(p) > 2 * qGreen(p) + 10;
}

bool contains(const QStringList &notes, const QString &text)
{
    return notes.join(QLatin1Char('\n')).contains(text);
}

// A game folder whose GameData/Skins holds the files of the scene.
class PreviewSceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(skins));
    }

    Result<PreviewScene> load(const QString &character, const QString &mesh)
    {
        return loadPreviewScene(
            {skins + '/' + character, mesh.isEmpty() ? QString() : skins + '/' + mesh, {game}});
    }

    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("The Sims"));
    const QString skins = game + QStringLiteral("/GameData/Skins");
};

TEST_F(PreviewSceneTest, HeadWearingGlassesNeedsNoSkeleton)
{
    ASSERT_TRUE(ts::writeFile(skins + "/C001MA_head.cmx",
                              ts::characterFile({{"HEAD", "face"}, {"HEAD", "gone"}})));
    ASSERT_TRUE(ts::writeFile(skins + "/face.skn",
                              ts::textMeshFile(ts::boxMesh("face", "x", "HEAD", {}, 0.4f))));
    ASSERT_TRUE(ts::writeFile(skins + "/glasses.skn",
                              ts::textMeshFile(ts::boxMesh("glasses", "lens", "HEAD", {}, 0.5f))));
    ASSERT_TRUE(ts::writeFile(skins + "/C001MAmed_head.bmp", ts::bmpPicture(Qt::blue)));

    const Result<PreviewScene> scene = load("C001MA_head.cmx", "glasses.skn");
    ASSERT_TRUE(scene.ok()) << scene.error().toStdString();
    EXPECT_EQ(scene.value().tones(), QStringList{"med"});
    EXPECT_TRUE(scene.value().skeletonUsed().isEmpty());
    const QStringList notes = scene.value().notes();
    EXPECT_TRUE(contains(notes, "\"gone\"") && contains(notes, "crash or show nothing"))
        << notes.join('\n').toStdString();
    EXPECT_TRUE(contains(notes, "\"lens\"")) << notes.join('\n').toStdString();

    const QImage picture = scene.value().render({64, 64}, {0, 0, kBackground}, "drk");
    ASSERT_EQ(picture.size(), QSize(64, 64));
    EXPECT_GE(rowsOf(picture, [](QRgb p) { return qGray(p) > 0; }).first, 0);
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
    EXPECT_TRUE(contains(scene.value().notes(), "adult-skeleton.cmx"));

    const QImage picture = scene.value().render({96, 96}, {0, 0, kBackground}, "drk");
    const Rows hat = rowsOf(picture, isRed);
    const Rows body = rowsOf(picture, isBlue);
    ASSERT_GE(hat.first, 0);
    ASSERT_GE(body.first, 0);
    EXPECT_LT(hat.last, body.first);
}

TEST_F(PreviewSceneTest, RefusedNamingTheFileAndTheFault)
{
    ASSERT_TRUE(ts::writeDressedCharacter(skins, false));
    const Result<PreviewScene> unposed = load("B001MA_body.cmx", "hat.skn");
    ASSERT_FALSE(unposed.ok());
    EXPECT_TRUE(unposed.error().contains("adult-skeleton.cmx")) << unposed.error().toStdString();
    EXPECT_TRUE(unposed.error().contains(QDir::toNativeSeparators(skins)))
        << unposed.error().toStdString();

    ASSERT_TRUE(ts::writeFile(skins + "/adult-skeleton.cmx",
                              ts::textSkeletonFile(ts::standingSkeleton(3)).chopped(40)));
    const Result<PreviewScene> cut = load("B001MA_body.cmx", "hat.skn");
    ASSERT_FALSE(cut.ok());
    EXPECT_TRUE(cut.error().startsWith("adult-skeleton.cmx: ")) << cut.error().toStdString();

    ASSERT_TRUE(ts::writeFile(skins + "/C001MA_head.cmx", ts::characterFile({{"HEAD", "face"}})));
    ASSERT_TRUE(
        ts::writeFile(skins + "/face.skn",
                      ts::textMeshFile(ts::boxMesh("face", "x", "HEAD", {}, 1)).chopped(30)));
    const Result<PreviewScene> damagedOwn = load("C001MA_head.cmx", {});
    ASSERT_FALSE(damagedOwn.ok());
    EXPECT_TRUE(damagedOwn.error().startsWith("face.skn: ")) << damagedOwn.error().toStdString();

    const Result<PreviewScene> damagedAttached = load("B001MA_body.cmx", "face.skn");
    ASSERT_FALSE(damagedAttached.ok());
    EXPECT_TRUE(damagedAttached.error().startsWith("face.skn: "))
        << damagedAttached.error().toStdString();
}

} // namespace
