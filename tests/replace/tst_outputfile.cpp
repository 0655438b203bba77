#include "replace/outputfile.h"
#include "tests/support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Content of no kind the game uses may be another program's file reached by a
// wrong name: it is refused, naming the file, and left as it was with no
// backup; an empty file holds nothing to keep and is replaced.
TEST(ReplaceCheck, RefusesUnknownContentAndReplacesAnEmptyFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString notes = dir.filePath("notes.cmx");
    const QByteArray notesBytes = "Shopping list\r\nmilk\r\n";
    ASSERT_TRUE(testsupport::writeFile(notes, notesBytes));
    const QByteArray character = testsupport::characterFile({{"HEAD", "xskin-a"}});

    const Result<void> checked = checkReplaceable(notes);
    ASSERT_FALSE(checked.ok());
    EXPECT_TRUE(checked.error().contains("notes.cmx")) << checked.error().toStdString();
    const Result<Replaced> written = writeCharacterFile(notes, character);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error(), checked.error());
    EXPECT_EQ(contentOf(notes), notesBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"notes.cmx"});

    const QString empty = dir.filePath("empty.cmx");
    ASSERT_TRUE(testsupport::writeFile(empty, {}));
    EXPECT_TRUE(checkReplaceable(empty).ok());
    ASSERT_TRUE(writeCharacterFile(empty, character, Backup::Skip).ok());
    EXPECT_EQ(contentOf(empty), character);
}

} // namespace
