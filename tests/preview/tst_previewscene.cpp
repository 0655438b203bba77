#include "preview/previewscene.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"

#include <QDir>
#include <QFile>
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

// A head wearing a hat, both on HEAD, needs no skeleton; a body does.
TEST_F(PreviewSceneTest, OnlyMeshesOnSeveralBonesNeedTheSkeleton)
{
    ASSERT_TRUE(ts::writeDressedCharacter(skins, false));
    write("C001MA_head.cmx", ts::characterFile({{"HEAD", "face"}, {"HEAD", "gone"}}));
    ASSERT_TRUE(QFile::copy(skins + "/B001MAlgt_body.bmp", skins + "/C001MAmed_head.bmp"));
    const Result<PreviewScene> head = load("C001MA_head.cmx", "hat.skn");
    ASSERT_TRUE(head.ok()) << head.error().toStdString();
    EXPECT_EQ(head.value().tones(), QStringList{"med"});
    EXPECT_TRUE(head.value().skeletonUsed().isEmpty());
    EXPECT_TRUE(head.value().notes().join('\n').contains("\"gone\""));
    // A tone not found draws the first: the face in the middle is blue.
    const QImage picture = head.value().render({32, 32}, {0, 0, Qt::black}, "drk");
    EXPECT_GT(qBlue(picture.pixel(16, 16)), qRed(picture.pixel(16, 16)));

    const QString unposed = load("B001MA_body.cmx", "hat.skn").error();
    EXPECT_TRUE(unposed.contains("adult-skeleton.cmx") &&
                unposed.contains(QDir::toNativeSeparators(skins)))
        << unposed.toStdString();
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
    const QList<QRgb> drawn =
        drawnDown(scene.value().render({96, 96}, {0, 0, Qt::black}, "drk"), 48);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_GT(qRed(drawn.first()), 2 * qBlue(drawn.first())); // the hat on top
    EXPECT_GT(qBlue(drawn.last()), 2 * qRed(drawn.last()));   // the body below

    // A damaged mesh, the character's own or the one attached, is named.
    write("face.skn", ts::squareMeshFile("face", "x", "HEAD", 0, 1).chopped(30));
    EXPECT_TRUE(load("B001MA_body.cmx", {}).error().startsWith("face.skn: "));
    EXPECT_TRUE(load("B001MA_body.cmx", "face.skn").error().startsWith("face.skn: "));
}

// The game's facts on a head without a skeleton: its HEAD bone's +x runs up
// the neck and its +z is the face; the character's left is at -x (the bone's
// +y). Glasses listed first wear the texture their mesh names, the head the
// character's own, whose label differs from the file's.
TEST_F(PreviewSceneTest, HeadStandsUprightFacingTheViewerAndGlassesWearTheirOwn)
{
    write("C001MA_pat.cmx",
          ts::characterFile({{"HEAD", "specs"}, {"HEAD", "head"}, {"HEAD", "ear"}}));
    write("specs.skn", ts::squareMeshFile("specs", "c001ma_specs", "HEAD", 0, 0.2f, 0, 0.3f));
    write("head.skn", ts::squareMeshFile("head", "x", "HEAD", 0, 0.5f));
    write("ear.skn", ts::squareMeshFile("ear", "c001ma_ear", "HEAD", 0.5f, 0.1f, 0, 0.1f));
    write("C001MA_specs.bmp", ts::bmpFile(Qt::green));
    write("C001MA_ear.bmp", ts::bmpFile(Qt::red));
    write("C001MAlgt_patrick.bmp", ts::bmpFile(Qt::blue));
    write("C001MAmed_patrick.bmp", ts::bmpFile(Qt::blue));
    write("C001MAmed_zz.bmp", ts::bmpFile(Qt::yellow));
    const Result<PreviewScene> head = load("C001MA_pat.cmx", {});
    ASSERT_TRUE(head.ok()) << head.error().toStdString();
    EXPECT_EQ(head.value().labels("med"), (QStringList{"patrick", "zz"}));
    EXPECT_EQ(head.value().defaultLabel("med"), "patrick");
    EXPECT_TRUE(head.value().notes().value(0).startsWith("The skeleton adult-skeleton.cmx.bcf "
                                                         "was not found"));
    const QImage front = head.value().render({64, 64}, {0, 0, Qt::black}, "lgt");
    const QRgb middle = front.pixel(32, 32);
    EXPECT_GT(qGreen(middle), 2 * qBlue(middle)); // the glasses, in front of the face
    // The ear on the character's left, the viewer's right, at mid height.
    QRect ear;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (qRed(front.pixel(x, y)) > 2 * qBlue(front.pixel(x, y)))
                ear |= QRect(x, y, 1, 1);
    EXPECT_GT(ear.left(), 40);
    EXPECT_LT(std::abs(ear.center().y() - 32), 6);
    const QImage back = head.value().render({64, 64}, {180, 0, Qt::black}, "lgt");
    EXPECT_GT(qBlue(back.pixel(32, 32)), 2 * qGreen(back.pixel(32, 32)));
    // Another label of the tone.
    const QRgb zz = head.value().render({64, 64}, {180, 0, Qt::black}, "med", "ZZ").pixel(32, 32);
    EXPECT_GT(qGreen(zz), 2 * qBlue(zz));
}

} // namespace
