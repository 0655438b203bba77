#include "formats/fararchive.h"
#include "game/gamecheck.h"
#include "game/gamelayout.h"
#include "game/previewsources.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace kelvane;
namespace ts = testsupport;

namespace {

// A game with a character folder, its two loose skin folders and an archive,
// and a second game: the five places, in the order they are searched.
// Mesh mK lies in every place from K on (named in upper case at odd places),
// naming the texture "texP" of the place P it lies in.
class GameTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString &folder : places)
            ASSERT_TRUE(QDir().mkpath(isArchiveName(folder) ? QFileInfo(folder).path() : folder));
        QList<ts::ArchivedFile> archived;
        for (int place = 0; place < 5; ++place) {
            for (int k = 0; k <= place; ++k) {
                QByteArray name = "m" + QByteArray::number(k) + ".bmf";
                if (place % 2)
                    name = name.toUpper();
                const QByteArray mesh =
                    ts::binaryMeshFile("m", "tex" + QByteArray::number(place), {"HEAD"});
                if (place == 3)
                    archived.append({"Skins\\Sub\\" + name, mesh});
                else
                    write(places[place] + '/' + name, mesh);
            }
        }
        archived += {{"Skins\\C026MAlgt_bwar.bmp", "BM"},
                     {"adult-skeleton.cmx", "text"},
                     {"Skins\\kidhead.skn", ts::meshFile("kidhead", "HEAD")}};
        write(places[3], ts::farArchive(archived));
        write(places[0] + "/tex1.bmp", "BM");
        write(places[1] + "/TEX1.BMP", "BM");
        write(places[1] + "/kidhead.skn", ts::meshFile("kidhead", "HEAD"));
        write(places[4] + "/c026madrk_bwar.BMP", "BM");
        write(places[4] + "/child-skeleton.cmx.bcf", "bcf");
    }

    void write(const QString &path, const QByteArray &bytes)
    {
        ASSERT_TRUE(ts::writeFile(path, bytes)) << path.toStdString();
    }

    PreviewSources find(const QString &character, const QList<QByteArray> &meshes,
                        const QString &attached = {}, const QByteArray &texture = {})
    {
        // The first skin, on PELVIS, wears the character's own texture.
        Character read;
        for (const QByteArray &mesh : meshes)
            read.skins.append({read.skins.isEmpty() ? "PELVIS" : "HEAD", mesh});
        const Mesh mesh{MeshFormat::Binary, "glasses", texture, 1, {"HEAD"}};
        return findPreviewSources({character, read, attached, mesh, {other, game}});
    }

    static std::string native(const QString &path)
    {
        return QDir::toNativeSeparators(path).toStdString();
    }
    static std::string native(const QStringList &paths)
    {
        QStringList shown;
        for (const QString &path : paths)
            shown.append(QDir::toNativeSeparators(path));
        return shown.join(QLatin1Char('\n')).toStdString();
    }

    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("Game"));
    const QString other = dir.filePath(QStringLiteral("Other"));
    const QStringList places{
        game + "/Characters", game + "/GameData/Skins", game + "/ExpansionShared/SkinsBuy",
        game + "/ExpansionShared/ExpansionShared.far", other + "/GameData/Skins"};
};

TEST(PreviewNames, AgeSkeletonTextureAndPlainNames)
{
    const QList<std::pair<const char *, bool>> children{
        {"C001MC_kid.cmx", true},        {"B003MCChd_01.cmx.bcf", true},
        {"B912FCChd_brude.CMX", true},   {"C026MA_bwar.cmx", false},
        {"B001FAFit_01.cmx.bcf", false}, {"B912FAFit_brudeMI.cmx", false},
        {"CWaitMfit_xfancy.cmx", false}, {"SpookyChd_01.cmx", true}};
    for (const auto &[name, child] : children) {
        EXPECT_EQ(isChildCharacter(QString::fromLatin1(name)), child) << name;
        EXPECT_EQ(skeletonFileNames(QString::fromLatin1(name)).first(),
                  child ? "child-skeleton.cmx.bcf" : "adult-skeleton.cmx.bcf");
    }
    EXPECT_EQ(characterTextureName("C026MA_bwar.cmx", "lgt"), "C026MAlgt_bwar.bmp");
    EXPECT_EQ(characterTextureName("B001FAFit_01.cmx.bcf", "drk"), "B001FAFitdrk_01.bmp");
    EXPECT_EQ(characterTextureName("B001FAFit_01_x.cmx", "med"), "B001FAFitmed_01_x.bmp");
    for (const char *bad : {"", ".", "..", "../m", "a/b", "a\\b", "C:m", "a\x01", "a\x7f"})
        EXPECT_FALSE(isPlainFileName(bad)) << bad;
    EXPECT_FALSE(isPlainFileName(QByteArray("a\0b", 3)));
    EXPECT_TRUE(isPlainFileName("xskin-b001fafit_01-PELVIS-BODY"));
}

// The game check and the preview judge a name read from a file alike: a byte
// from 0x80 to 0x9F is a letter of the game's single-byte names, a path or
// control character is refused before any file is looked for.
TEST(PreviewNames, TheGameCheckAndThePreviewTakeTheSamePlainNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("Out");
    ASSERT_TRUE(QDir().mkpath(out));
    const QString character = dir.filePath("C001MA_x.cmx");
    const QByteArray single = QByteArray("xskin-glasses") + '\x80' + '\x85' + '\x9f';
    const QString meshPath = dir.filePath(QString::fromLatin1(single) + ".bmf");
    ASSERT_TRUE(ts::writeFile(meshPath, ts::binaryMeshFile(single, "x", {"HEAD"})));
    for (const QByteArray &name : {single, QByteArray("a/b"), QByteArray("a\\b"), QByteArray("C:m"),
                                   QByteArray("m\x01"), QByteArray("m\x7f")}) {
        const bool plain = name == single;
        const Mesh mesh{MeshFormat::Binary, name, "x", 1, {"HEAD"}};
        const GameCheck check = checkWhatTheGameNeeds(meshPath, mesh, out);
        EXPECT_EQ(check.findings(Copies::Offered).filter("not a plain file name").isEmpty(), plain)
            << name.toStdString();
        EXPECT_EQ(check.copies.size(), plain ? 1 : 0) << name.toStdString();

        Character read;
        read.skins.append({"HEAD", name});
        const PreviewSources found = findPreviewSources({character, read, {}, {}, {}});
        ASSERT_FALSE(found.skins.isEmpty());
        EXPECT_EQ(found.skins[0].mesh.has_value(), plain) << name.toStdString();
        const bool refused =
            std::any_of(found.missing.cbegin(), found.missing.cend(),
                        [](const MissingSource &m) { return m.lack == SourceLack::NotPlainName; });
        EXPECT_EQ(refused, !plain) << name.toStdString();
    }
}

TEST_F(GameTree, EachFileFromTheFirstPlaceThatHoldsItInAnyCase)
{
    const PreviewSources found =
        find(places[0] + "/C026MA_bwar.cmx", {"m0", "M1", "m2", "m3", "m4"});
    EXPECT_EQ(found.gameFolder.toStdString(), native(game));
    ASSERT_EQ(found.skins.size(), 5);
    for (int k = 0; k < 5; ++k) {
        ASSERT_TRUE(found.skins[k].mesh) << k;
        EXPECT_EQ(found.skins[k].meshTexture, "tex" + QByteArray::number(k));
        EXPECT_EQ(found.skins[k].mesh->place.toStdString(), native(places[k]));
        EXPECT_EQ(found.skins[k].mesh->otherGame, k == 4);
    }
    // A texture is looked for beside its mesh first.
    ASSERT_EQ(found.skins[1].textures.size(), 1);
    EXPECT_EQ(found.skins[1].textures[0].found->path.toStdString(),
              native(places[1] + "/TEX1.BMP"));
    EXPECT_EQ(found.tones, QStringList({"lgt", "drk"}));
    ASSERT_EQ(found.ownTextures.size(), 2);
    EXPECT_EQ(found.ownTextures[1].found->path.toStdString(),
              native(places[3] + "/Skins/C026MAlgt_bwar.bmp"));
    EXPECT_TRUE(found.ownTextures[0].found->otherGame);
    ASSERT_TRUE(found.skeleton);
    EXPECT_EQ(found.skeleton->path.toStdString(), native(places[3] + "/adult-skeleton.cmx"));
    // tex2, tex3 and tex4 are nowhere; the other game's files are noted.
    ASSERT_EQ(found.missing.size(), 3);
    EXPECT_EQ(found.missing[0].fileNames, QStringList({"tex2.bmp", "tex2.tga"}));
    EXPECT_EQ(found.notes.filter("only in another game").size(), 2);
}

TEST_F(GameTree, CharacterInAnArchiveLooksInItsArchiveFolderFirst)
{
    const QString archived = places[3] + "/skins/C001MC_kid.cmx";
    const PreviewSources found = find(archived, {"kidhead"}, places[1] + "/M1.BMF", "tex1");
    ASSERT_EQ(found.skins.size(), 2);
    EXPECT_EQ(found.skins[0].mesh->path.toStdString(), native(places[3] + "/Skins/kidhead.skn"));
    EXPECT_EQ(found.skins[0].meshTexture, "kidhead-tex");
    EXPECT_TRUE(found.skins[1].attached);
    EXPECT_EQ(found.skins[1].textures[0].found->path.toStdString(),
              native(places[1] + "/TEX1.BMP"));
    ASSERT_TRUE(found.skeleton);
    EXPECT_EQ(found.skeleton->path.toStdString(), native(places[4] + "/child-skeleton.cmx.bcf"));
    EXPECT_TRUE(found.skeleton->otherGame);
}

TEST_F(GameTree, NamesThatAreNoPlainFileNamesAndFilesNowhereAreReported)
{
    write(game + "/escape.bmf", ts::binaryMeshFile("escape", "x", {"HEAD"}));
#ifdef Q_OS_UNIX
    // An archive that is a pipe would block the walk if it were opened.
    ASSERT_EQ(::mkfifo(QFile::encodeName(game + "/pipe.far").constData(), 0600), 0);
#endif
    ASSERT_TRUE(QFile::remove(places[4] + "/child-skeleton.cmx.bcf"));
    const PreviewSources found =
        find(dir.filePath("Loose") + "/C002FC_girl.cmx", {"../escape", "C:m0", "m0\x01", "nowhere"},
             places[0] + "/m0.bmf", "..\\tex0");
    EXPECT_TRUE(found.gameFolder.isEmpty());
    EXPECT_FALSE(found.skeleton);
    const std::string looked =
        native({dir.filePath("Loose"), places[4], places[1], places[2], places[3]});
    EXPECT_EQ(native(found.skeletonPlacesLooked), looked);
    QList<std::pair<SourceKind, SourceLack>> kinds;
    for (const MissingSource &missing : found.missing)
        kinds.append({missing.kind, missing.lack});
    EXPECT_EQ(kinds, (QList<std::pair<SourceKind, SourceLack>>{
                         {SourceKind::Skeleton, SourceLack::NotFound},
                         {SourceKind::Mesh, SourceLack::NotPlainName},
                         {SourceKind::Mesh, SourceLack::NotPlainName},
                         {SourceKind::Mesh, SourceLack::NotPlainName},
                         {SourceKind::Mesh, SourceLack::NotFound},
                         {SourceKind::Texture, SourceLack::NotFound},
                         {SourceKind::Texture, SourceLack::NotPlainName}}));
    EXPECT_EQ(native(found.missing[4].placesLooked), looked);
    EXPECT_EQ(found.notes.filter("not a plain file name").size(), 4);
    EXPECT_EQ(found.notes.filter("the game would crash or show nothing here").size(), 4);
    EXPECT_TRUE(skeletonNote(found).contains("child-skeleton.cmx.bcf"));
}

} // namespace
