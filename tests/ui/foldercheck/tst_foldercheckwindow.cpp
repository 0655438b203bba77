#include "controls/directorylist.h"
#include "controls/modalwindow.h"
#include "tests/foldercheck/seededfolder.h"
#include "ui/foldercheck/foldercheckwindow.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kelvane;

class TestFolderCheckWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checksMendsTheTickedAndCloses();
    void openedFromEitherFolderListMenu();

private:
    QTemporaryDir m_emptyWinePrefix;
    std::unique_ptr<QTemporaryDir> m_dir;
    testsupport::SeededGame m_game;
};

void TestFolderCheckWindow::initTestCase()
{
    // A prefix without drives keeps the window off this machine's own.
    QVERIFY(m_emptyWinePrefix.isValid());
    qputenv("WINEPREFIX", QFile::encodeName(m_emptyWinePrefix.path()));
}

void TestFolderCheckWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_game = testsupport::writeSeededGame(m_dir->path());
    QVERIFY(!m_game.skins.isEmpty());
}

void TestFolderCheckWindow::cleanup()
{
    setModalHandler({});
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

// The check lists each finding under its file, ticks every mend but
// renumbering, and Mend Selected (Alt+M) applies the ticked ones.
void TestFolderCheckWindow::checksMendsTheTickedAndCloses()
{
    FolderCheckWindow window(m_game.skins, {}, [](const QString &) -> Result<QByteArray> {
        return testsupport::bmpFile(8, 64, 64);
    });
    QSignalSpy checked(&window, &FolderCheckWindow::checked);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Folder Check"));
    QTRY_COMPARE(checked.count(), 1);

    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("lstFindings"));
    QVERIFY(list);
    QCOMPARE(QApplication::focusWidget(), list);
    // The finding chosen is shown whole beneath the list.
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblDetail"))->text(),
             list->currentItem()->text(0));
    QVERIFY(list->currentItem()->parent());
    int ticked = 0;
    int unticked = 0;
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
        if (!((*it)->flags() & Qt::ItemIsUserCheckable))
            continue;
        ((*it)->checkState(0) == Qt::Checked ? ticked : unticked) += 1;
    }
    QCOMPARE(ticked, 5);
    QCOMPARE(unticked, 2); // the two outfits sharing a prefix

    // Space unticks the conversion of the texture, which stays as it was.
    QTreeWidgetItem *convert =
        list->findItems(QStringLiteral("has 24 bits"), Qt::MatchStartsWith | Qt::MatchRecursive)
            .value(0);
    QVERIFY(convert);
    list->setCurrentItem(convert);
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(convert->checkState(0), Qt::Unchecked);

    QSignalSpy mended(&window, &FolderCheckWindow::mended);
    QTest::keyClick(&window, Qt::Key_M, Qt::AltModifier);
    QVERIFY(mended.wait());
    const QString done =
        window.findChild<QPlainTextEdit *>(QStringLiteral("txtDone"))->toPlainText();
    QVERIFY2(done.contains(QStringLiteral("B101FAFit_01.cmx.bak")), qPrintable(done));
    QVERIFY(!done.contains(QStringLiteral("256 colours")));
    QCOMPARE(done.count(u'\n'), 3); // four mends, one line each
    QVERIFY(QFileInfo::exists(m_game.skins + QStringLiteral("/rightname.skn")));

    auto *close = window.findChild<QPushButton *>(QStringLiteral("cmdClose"));
    QCOMPARE(QApplication::focusWidget(), close);
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

void TestFolderCheckWindow::openedFromEitherFolderListMenu()
{
    MainWindow main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    for (const char *name : {"DirSkins", "DirProps"}) {
        auto *folders = main.findChild<DirectoryList *>(QLatin1String(name));
        QVERIFY(folders);
        QVERIFY(folders->setPath(m_game.skinsBuy));
        QString title;
        QString heading;
        setModalHandler([&](QDialog &window) {
            title = window.windowTitle();
            window.show();
            QSignalSpy checked(&window, SIGNAL(checked()));
            QTRY_COMPARE(checked.count(), 1);
            heading = window.findChild<QLabel *>(QStringLiteral("lblFolder"))->text();
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        // The menu key as the window system passes it on: a context menu event.
        auto *list = folders->findChild<QListWidget *>();
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, list->rect().center(),
                                  list->mapToGlobal(list->rect().center()));
        QApplication::sendEvent(list, &menuKey);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction *command = menu->findChild<QAction *>(QStringLiteral("mnuCheckFolder"));
        QVERIFY(command && command->isEnabled());
        QCOMPARE(command->text(), QStringLiteral("Chec&k This Folder..."));
        menu->close();
        command->trigger();
        QCOMPARE(title, QStringLiteral("Folder Check"));
        QVERIFY2(heading.endsWith(QStringLiteral("1 findings.")), qPrintable(heading));
    }
}

QTEST_MAIN(TestFolderCheckWindow)
#include "tst_foldercheckwindow.moc"
