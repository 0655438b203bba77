#include "controls/filelist.h"
#include "tests/support/attachedcmxfile.h"
#include "tests/support/files.h"
#include "tests/support/widgets.h"
#include "ui/main/backgroundtooltips.h"
#include "ui/main/filetooltips.h"
#include "ui/main/maincontrols.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

using namespace kelvane;
using testsupport::hoverEntry;
using testsupport::writeFile;

namespace {

// A character file whose skins each attach xskin-<bone> to the bone named.
QByteArray characterFile(const QByteArray &count, const QList<QByteArray> &bones)
{
    QList<testsupport::Skin> skins;
    for (const QByteArray &bone : bones)
        skins.append({bone, "xskin-" + bone});
    return testsupport::characterFileWithCount(count, skins);
}

// What a rich-text tooltip reads as on screen.
QString shownText(const QString &toolTip)
{
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}

} // namespace

// The file lists of the main window with their tooltips installed, over a
// folder of character files and one of mesh files.
class TestFileToolTips : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void characterFileShowsItsSkins_data();
    void characterFileShowsItsSkins();
    void meshFileShowsItsMeshAndBone();
    void refusedFileShowsTheCreateCommandsMessage_data();
    void refusedFileShowsTheCreateCommandsMessage();
    void changedFileIsReadAgain();

private:
    QString path(const QString &relative) const
    {
        return QDir::toNativeSeparators(m_dir->filePath(relative));
    }
    QString hover(FileList &list, const QString &fileName);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FileList> m_skins;
    std::unique_ptr<FileList> m_props;
};

void TestFileToolTips::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath("skins"));
    QVERIFY(QDir(m_dir->path()).mkpath("props"));
    QVERIFY(writeFile(path("skins/two.cmx"), characterFile("2", {"PELVIS", "HEAD"})));
    QVERIFY(writeFile(path("skins/none.cmx"), characterFile("0", {})));
    QList<QByteArray> many;
    for (int i = 1; i <= 25; ++i)
        many << "BONE" + QByteArray::number(i);
    QVERIFY(writeFile(path("skins/many.cmx"), characterFile("25", many)));
    QVERIFY(writeFile(path("skins/markup.cmx"), characterFile("1", {"<b>bold</b> &amp; \xe9"})));
    QVERIFY(writeFile(path("skins/bad.cmx"), characterFile("lots", {})));
    QVERIFY(writeFile(path("skins/short.cmx"), characterFile("3", {"PELVIS"})));
    QVERIFY(writeFile(path("props/hat.skn"), "xskin-hat\r\ntex\r\n1\r\nHEAD\r\n0\r\n"));
    QVERIFY(writeFile(path("props/broken.skn"), "only one line"));

    m_skins = std::make_unique<FileList>(QStringList{QStringLiteral("*.cmx")});
    m_props = std::make_unique<FileList>(QStringList{QStringLiteral("*.skn")});
    MainControls controls;
    controls.FileSkins = m_skins.get();
    controls.FileProps = m_props.get();
    installFileToolTips(controls);
    m_skins->setPath(path("skins"));
    m_props->setPath(path("props"));
    for (FileList *list : {m_skins.get(), m_props.get()}) {
        list->resize(200, 200);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list));
    }
}

void TestFileToolTips::cleanup()
{
    QToolTip::hideText();
    m_skins.reset();
    m_props.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString TestFileToolTips::hover(FileList &list, const QString &fileName)
{
    if (!hoverEntry(*list.findChild<QListView *>(), fileName))
        return QStringLiteral("(not listed)");
    // The file is read on a worker thread; the tip follows once it is.
    const QString reading = BackgroundToolTips::readingText(QDir(list.path()).filePath(fileName));
    if (!QTest::qWaitFor([&] { return QToolTip::text() != reading; }))
        return QStringLiteral("(still reading)");
    // Every file's tip ends in the list's hint, which the tests of content leave out.
    const QString hint =
        plainToolTip(&list == m_skins.get() ? characterListHint() : meshListHint());
    if (!QToolTip::text().endsWith(hint))
        return QStringLiteral("(no hint)");
    return QToolTip::text().chopped(hint.size());
}

void TestFileToolTips::characterFileShowsItsSkins_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shown");

    QTest::newRow("in order") << "two.cmx"
                              << "2 skins:\nPELVIS \u2192 xskin-PELVIS\nHEAD \u2192 xskin-HEAD";
    QTest::newRow("none") << "none.cmx"
                          << "No skins.";
    QStringList capped = {"25 skins:"};
    for (int i = 1; i <= 20; ++i)
        capped << QStringLiteral("BONE%1 \u2192 xskin-BONE%1").arg(i);
    capped << "\u2026 and 5 more";
    QTest::newRow("long list capped") << "many.cmx" << capped.join('\n');
    QTest::newRow("content is text, not markup")
        << "markup.cmx"
        << "1 skin:\n<b>bold</b> &amp; \u00e9 \u2192 xskin-<b>bold</b> &amp; \u00e9";
}

void TestFileToolTips::characterFileShowsItsSkins()
{
    QFETCH(QString, file);
    QFETCH(QString, shown);
    QCOMPARE(shownText(hover(*m_skins, file)), shown);
}

void TestFileToolTips::meshFileShowsItsMeshAndBone()
{
    QCOMPARE(shownText(hover(*m_props, "hat.skn")),
             QStringLiteral("Mesh: xskin-hat\nAttaches to: HEAD"));
}

void TestFileToolTips::refusedFileShowsTheCreateCommandsMessage_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("mesh");
    QTest::addColumn<bool>("hoverMesh");
    QTest::newRow("count") << "bad.cmx"
                           << "hat.skn" << false;
    QTest::newRow("missing group") << "short.cmx"
                                   << "hat.skn" << false;
    QTest::newRow("mesh without bone") << "two.cmx"
                                       << "broken.skn" << true;
}

void TestFileToolTips::refusedFileShowsTheCreateCommandsMessage()
{
    QFETCH(QString, character);
    QFETCH(QString, mesh);
    QFETCH(bool, hoverMesh);
    const auto created =
        CreateAttachedCmxFile(path("skins"), character, path("props"), mesh, "out", path("skins"));
    QVERIFY(!created.ok());
    const QString error = created.error();
    QVERIFY(!error.isEmpty());
    const QString toolTip = hoverMesh ? hover(*m_props, mesh) : hover(*m_skins, character);
    QCOMPARE(shownText(toolTip), error);
}

void TestFileToolTips::changedFileIsReadAgain()
{
    QCOMPARE(shownText(hover(*m_props, "hat.skn")),
             QStringLiteral("Mesh: xskin-hat\nAttaches to: HEAD"));
    QToolTip::hideText();
    QVERIFY(writeFile(path("props/hat.skn"), "xskin-glasses\r\ntex\r\n1\r\nNECK\r\n0\r\n"));
    QCOMPARE(shownText(hover(*m_props, "hat.skn")),
             QStringLiteral("Mesh: xskin-glasses\nAttaches to: NECK"));
}

QTEST_MAIN(TestFileToolTips)
#include "tst_filetooltips.moc"
