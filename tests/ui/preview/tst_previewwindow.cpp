#include "controls/filelist.h"
#include "controls/modalwindow.h"
#include "tests/support/files.h"
#include "tests/support/previewfiles.h"
#include "tests/support/widgets.h"
#include "ui/main/mainwindow.h"
#include "ui/preview/previewpicture.h"
#include "ui/preview/previewwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

using namespace kelvane;
using namespace testsupport;

class TestPreviewWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuOffersPreviewInBothLists();
    void previewIsModalAndClosedByEscape();
    void keysAndDragTurnThePictureInEachTone();
    void withPutsAHeadOnTheBodyAndTexturesAreOffered();
    void largeSceneIsDrawnOffTheWindowsThread();
    void unreadableCharacterSaysWhy();
    void closedWhileReading();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QAction *menuCommand(FileList *list);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPreviewWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeDressedCharacter(m_dir->path(), true));
    QVERIFY(writeFile(path("broken.cmx"), "no character file"));
}

void TestPreviewWindow::cleanup()
{
    setModalHandler({});
    QThreadPool::globalInstance()->waitForDone();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QAction *TestPreviewWindow::menuCommand(FileList *list)
{
    QTest::keyClick(list->findChild<QListView *>(), Qt::Key_F10, Qt::ShiftModifier);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QAction *command = menu ? menu->findChild<QAction *>("mnuPreview") : nullptr;
    if (menu)
        menu->close();
    return command;
}

// Both lists offer the command, enabled once a character file is chosen; it
// opens the preview of that file wearing the mesh chosen, if any.
void TestPreviewWindow::menuOffersPreviewInBothLists()
{
    MainWindow main([] { return QStringList{QDir::rootPath()}; });
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    FileList *skins = nullptr, *props = nullptr;
    QVERIFY(findChildNamed(main, "FileSkins", skins) && findChildNamed(main, "FileProps", props));
    skins->setPath(m_dir->path());
    props->setPath(m_dir->path());

    QVERIFY(clickEntry(*props->findChild<QListView *>(), "hat.skn"));
    for (FileList *list : {skins, props}) {
        QAction *preview = menuCommand(list);
        QVERIFY(preview);
        QCOMPARE(preview->text(), QStringLiteral("&Preview..."));
        QVERIFY2(!preview->isEnabled(), "no character file is chosen");
    }
    QVERIFY(clickEntry(*skins->findChild<QListView *>(), "B001MA_body.cmx"));

    QStringList headings;
    setModalHandler(
        [&](QDialog &window) { headings << window.findChild<QLabel *>("lblHeading")->text(); });
    for (FileList *list : {props, skins}) {
        QAction *preview = menuCommand(list);
        QVERIFY(preview && preview->isEnabled());
        preview->trigger();
    }
    QCOMPARE(headings, QStringList(2, "B001MA_body.cmx wearing hat.skn"));
}

void TestPreviewWindow::previewIsModalAndClosedByEscape()
{
    QString title;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<PreviewWindow *>(QApplication::activeModalWidget());
        if (!window || !window->isModal())
            return;
        title = window->windowTitle();
        QTest::keyClick(window->findChild<PreviewPicture *>(), Qt::Key_Escape);
        closed = !window->isVisible();
        window->reject();
    });
    showPreviewWindow(nullptr, path("B001MA_body.cmx"), {});
    QCOMPARE(title, QStringLiteral("Preview"));
    QVERIFY(closed);
}

void TestPreviewWindow::keysAndDragTurnThePictureInEachTone()
{
    PreviewWindow window(path("B001MA_body.cmx"), path("hat.skn"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY_WITH_TIMEOUT(!window.loading(), 10000);
    auto *picture = window.findChild<PreviewPicture *>("picPreview");
    QVERIFY(picture && picture->hasFocus());
    const QImage front = picture->grab().toImage();

    QTest::keyClick(picture, Qt::Key_Right);
    QCOMPARE(picture->turn(), 15.0);
    QVERIFY2(picture->grab().toImage() != front, "the picture follows the turn");
    QTest::keyClick(picture, Qt::Key_Left);
    QTest::keyClick(picture, Qt::Key_Left);
    QCOMPARE(picture->turn(), -15.0);
    for (int k = 0; k < 8; ++k)
        QTest::keyClick(picture, Qt::Key_Up);
    QCOMPARE(picture->pitch(), double(PreviewPicture::kMaxPitchDegrees));

    const QPoint middle = picture->rect().center();
    QTest::mousePress(picture, Qt::LeftButton, {}, middle);
    QTest::mouseMove(picture, middle + QPoint(40, -20));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, middle + QPoint(40, -20));
    QCOMPARE(picture->turn(), 5.0);
    QCOMPARE(picture->pitch(), 65.0);

    auto *tones = window.findChild<QComboBox *>("cboTone");
    QTest::keyClick(picture, Qt::Key_Tab);
    QVERIFY(tones->hasFocus());
    QCOMPARE(tones->itemText(1), QStringLiteral("Dark"));
    const QString notes = window.findChild<QLabel *>("lblNotes")->accessibleDescription();
    QVERIFY2(notes.startsWith("Posed on the skeleton adult-skeleton.cmx"), qPrintable(notes));
}

void TestPreviewWindow::withPutsAHeadOnTheBodyAndTexturesAreOffered()
{
    QVERIFY(writeFile(path("C001MA_pat.cmx"), characterFile({{"HEAD", "face"}})));
    QVERIFY(writeFile(path("C001FA_pat.cmx"), characterFile({{"HEAD", "face"}})));
    QVERIFY(writeFile(path("B001MAlgt_other.bmp"), bmpFile(Qt::red)));
    PreviewWindow window(path("B001MA_body.cmx"), {});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY_WITH_TIMEOUT(!window.loading(), 10000);
    QCOMPARE(window.findChild<QLabel *>("lblHowTo")->text(),
             QStringLiteral("Drag or use the arrow keys to turn; Home shows the front."));
    auto *textures = window.findChild<QComboBox *>("cboTexture");
    QVERIFY(textures->isVisible());
    QCOMPARE(textures->count(), 2);
    QCOMPARE(textures->currentText(), QStringLiteral("body"));
    auto *picture = window.findChild<PreviewPicture *>("picPreview");
    const QImage own = picture->grab().toImage();
    textures->setCurrentIndex(1);
    QVERIFY2(picture->grab().toImage() != own, "the other texture is drawn");

    // The male head of the same age, not the female one.
    auto *with = window.findChild<QComboBox *>("cboWith");
    QCOMPARE(with->count(), 2);
    QCOMPARE(with->itemText(1), QStringLiteral("C001MA_pat.cmx"));
    QSignalSpy loaded(&window, &PreviewWindow::loadFinished);
    with->setCurrentIndex(1);
    QVERIFY(loaded.wait(10000));
    QCOMPARE(textures->currentText(), QStringLiteral("other"));
    QVERIFY2(picture->grab().toImage() != own, "the head is drawn on the body");
}

void TestPreviewWindow::largeSceneIsDrawnOffTheWindowsThread()
{
    const qsizetype kept = std::exchange(PreviewPicture::drawnOnWindowsThread, 0);
    PreviewWindow window(path("B001MA_body.cmx"), path("hat.skn"));
    auto *picture = window.findChild<PreviewPicture *>("picPreview");
    QSignalSpy drawn(picture, &PreviewPicture::frameDrawn);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY_WITH_TIMEOUT(!drawn.isEmpty(), 10000);
    const QImage front = picture->grab().toImage();
    QTest::keyClick(picture, Qt::Key_Right);
    QVERIFY(drawn.wait(10000));
    QVERIFY2(picture->grab().toImage() != front, "the turned frame arrived");
    PreviewPicture::drawnOnWindowsThread = kept;
}

void TestPreviewWindow::unreadableCharacterSaysWhy()
{
    PreviewWindow window(path("broken.cmx"), {});
    QTRY_VERIFY_WITH_TIMEOUT(!window.loading(), 10000);
    const QString message = window.findChild<PreviewPicture *>()->message();
    QVERIFY2(message.contains("broken.cmx"), qPrintable(message));
}

// The reading goes on after the window is gone; its result is dropped.
void TestPreviewWindow::closedWhileReading()
{
    {
        PreviewWindow window(path("B001MA_body.cmx"), path("hat.skn"));
        QVERIFY(window.loading());
    }
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
}

QTEST_MAIN(TestPreviewWindow)
#include "tst_previewwindow.moc"
