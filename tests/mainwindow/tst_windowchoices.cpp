#include "controls/commandbutton.h"
#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/messagebox.h"
#include "controls/textbox.h"
#include "platform/drives.h"
#include "platform/gamesearch.h"
#include "platform/systempaths.h"
#include "tests/support/files.h"
#include "tests/support/widgets.h"
#include "ui/main/maincontroller.h"
#include "ui/main/maincontrols.h"
#include "ui/main/mainwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using namespace testsupport;

// What the player chooses in the main window stays as chosen: a game search
// ending moves no side, a drag selects one file, and the words around
// several files and the game's own characters say what will happen.
class TestWindowChoices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void searchResultMovesNoSide();
    void onlyShiftCtrlAndCtrlASelectSeveral();
    void overridingTheGamesOwnAsksAndIsPutBackFromItsEntry();

private:
    QString path(const QString &relative) const
    {
        return QDir::toNativeSeparators(m_dir->filePath(relative));
    }
    QListView *view(FileList *list) const { return list->findChild<QListView *>(); }
    // The command of the menu the file list opens on the entry right-clicked.
    QAction *menuCommandOn(FileList *list, const QString &entry, const char *name) const;

    QTemporaryDir m_emptyWinePrefix;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<GameSearch> m_games;
    std::unique_ptr<MainWindow> m_window;
    MainControls m_c;
    QList<Message> m_messages;
};

void TestWindowChoices::initTestCase()
{
    QVERIFY(m_emptyWinePrefix.isValid());
    qputenv("WINEPREFIX", QFile::encodeName(m_emptyWinePrefix.path()));
}

void TestWindowChoices::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *folder : {"Game/GameData/Skins/sub", "Game/ExpansionShared", "props", "work"})
        QVERIFY(QDir().mkpath(m_dir->filePath(QLatin1String(folder))));
    const QByteArray character = characterFile({{"PELVIS", "xskin-b001fafit_01-PELVIS-BODY"}});
    for (const char *name : {"B904FAFit_a.cmx", "B905MAFit_b.cmx", "C001MA_c.cmx"})
        QVERIFY(writeFile(path(QStringLiteral("work/") + QLatin1String(name)), character));
    QVERIFY(writeFile(path("Game/GameData/Skins/sub/D001MA_x.cmx"), character));
    const QByteArray hat = "hat\r\nx\r\n1\r\nHEAD\r\n0\r\n";
    QVERIFY(writeFile(path("props/hat.skn"), hat));
    QVERIFY(writeFile(path("Game/GameData/Skins/hat.skn"), hat));
    BinaryCharacter body;
    body.skins = {{"PELVIS", "xskin-b001fafit_01-PELVIS-BODY"}};
    QVERIFY(writeFile(path("Game/ExpansionShared/ExpansionShared.far"),
                      farArchive({{"Skins\\B001FAFit_01.cmx.bcf", binaryCharacterFile(body)}})));

    m_messages.clear();
    setMessageHandler([this](const Message &message) { m_messages.append(message); });
    const GameFolder game{"The Sims", path("Game"), path("Game/GameData/Skins"),
                          path("Game/ExpansionShared/ExpansionShared.far/Skins")};
    m_games = std::make_unique<GameSearch>([game](QStringList *) { return QList{game}; });
    m_window = std::make_unique<MainWindow>(
        [this] { return QStringList{systemRoot()} + gameDriveEntries(m_games->games()); },
        *m_games);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    const QObject &w = *m_window;
    QVERIFY(findChildNamed(w, "DrvSkins", m_c.DrvSkins) &&
            findChildNamed(w, "DirSkins", m_c.DirSkins) &&
            findChildNamed(w, "FileSkins", m_c.FileSkins) &&
            findChildNamed(w, "DrvProps", m_c.DrvProps) &&
            findChildNamed(w, "DirProps", m_c.DirProps) &&
            findChildNamed(w, "FileProps", m_c.FileProps) &&
            findChildNamed(w, "txtNewName", m_c.txtNewName) &&
            findChildNamed(w, "txtSavedTo", m_c.txtSavedTo) &&
            findChildNamed(w, "cmdDoIt", m_c.cmdDoIt));
}

void TestWindowChoices::cleanup()
{
    m_window.reset();
    QTRY_VERIFY(!m_games->running());
    m_games.reset();
    setMessageHandler({});
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QAction *TestWindowChoices::menuCommandOn(FileList *list, const QString &entry,
                                          const char *name) const
{
    QListView *files = view(list);
    const QPoint at = files->visualRect(entryNamed(*files, entry)).center();
    QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {},
                      files->viewport()->mapTo(m_window.get(), at));
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QAction *command = menu ? menu->findChild<QAction *>(QLatin1String(name)) : nullptr;
    if (menu)
        menu->close();
    return command;
}

// The game's Skins entry chosen on the left, a subfolder opened and a file
// chosen there: opening the mesh side's drive list starts no search, and a
// search asked for after adds its entries without moving either side.
void TestWindowChoices::searchResultMovesNoSide()
{
    const QString skins = path("Game/GameData/Skins");
    const QString entry = "The Sims: GameData" + pathSeparator() + "Skins";
    // A folder opened before the search ends shows as the game's once it has.
    QVERIFY(m_window->controller().openPropsFolder(skins));
    QCOMPARE(m_c.DrvProps->drive(), systemRoot());
    m_games->start();
    QTRY_VERIFY(!m_games->running());
    QCOMPARE(m_c.DrvProps->drive(), entry);
    QCOMPARE(m_c.DirProps->path(), skins);

    auto *box = m_c.DrvSkins->findChild<QComboBox *>();
    QVERIFY(box->findText(entry) > 0);
    box->setCurrentIndex(box->findText(entry));
    QCOMPARE(m_c.DirSkins->path(), skins);
    QVERIFY(m_c.DirSkins->setPath(path("Game/GameData/Skins/sub")));
    QVERIFY(clickEntry(*view(m_c.FileSkins), "D001MA_x.cmx"));
    QVERIFY(clickEntry(*view(m_c.FileProps), "hat.skn"));
    QVERIFY(m_c.cmdDoIt->isEnabled());

    auto *meshDrives = m_c.DrvProps->findChild<QComboBox *>();
    QTest::mouseClick(meshDrives, Qt::LeftButton);
    QTRY_VERIFY(meshDrives->view()->isVisible());
    QVERIFY(!m_games->running());
    QTest::keyClick(meshDrives->view(), Qt::Key_Escape);
    QTRY_VERIFY(!meshDrives->view()->isVisible());

    m_games->start();
    QTRY_VERIFY(!m_games->running());
    QCOMPARE(m_c.DrvSkins->drive(), entry);
    QCOMPARE(m_c.DirSkins->path(), path("Game/GameData/Skins/sub"));
    QCOMPARE(m_c.FileSkins->fileName(), QStringLiteral("D001MA_x.cmx"));
    QCOMPARE(m_c.DirProps->path(), skins);
    QCOMPARE(m_c.FileProps->fileName(), QStringLiteral("hat.skn"));
    QVERIFY(m_c.cmdDoIt->isEnabled());
}

// Rows are a few pixels high: a press on one and a release on another after
// moving chooses the last, alone. Several files are chosen only on purpose,
// and the name box then tells how many and the names they take.
void TestWindowChoices::onlyShiftCtrlAndCtrlASelectSeveral()
{
    QVERIFY(m_window->controller().openSkinsFolder(path("work")));
    QListView *files = view(m_c.FileSkins);
    const auto centre = [&](const char *name) {
        return files->visualRect(entryNamed(*files, QLatin1String(name))).center();
    };
    QTest::mousePress(files->viewport(), Qt::LeftButton, {}, centre("B904FAFit_a.cmx"));
    QTest::mouseMove(files->viewport(), centre("B905MAFit_b.cmx"));
    QTest::mouseMove(files->viewport(), centre("C001MA_c.cmx"));
    QTest::mouseRelease(files->viewport(), Qt::LeftButton, {}, centre("C001MA_c.cmx"));
    QCOMPARE(m_c.FileSkins->fileNames(), QStringList{"C001MA_c.cmx"});
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("C001MA_new"));
    QCOMPARE(m_c.txtNewName->toolTip(), QString());

    QVERIFY(clickEntry(*files, "B904FAFit_a.cmx", Qt::ShiftModifier));
    QCOMPARE(m_c.FileSkins->fileNames().size(), 3);
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("*_new"));
    QCOMPARE(m_c.txtNewName->toolTip(),
             QStringLiteral("3 files: B904FAFit_new, B905MAFit_new, \u2026"));
    QTest::keyClicks(m_c.txtNewName->findChild<QLineEdit *>(), "x");
    QCOMPARE(m_c.txtNewName->toolTip(),
             QStringLiteral("3 files: B904FAFit_newx, B905MAFit_newx, \u2026"));
    QVERIFY(clickEntry(*files, "C001MA_c.cmx", Qt::ControlModifier));
    QCOMPARE(m_c.txtNewName->toolTip(), QStringLiteral("2 files: B904FAFit_newx, B905MAFit_newx"));
    QVERIFY(clickEntry(*files, "B904FAFit_a.cmx"));
    QTest::keyClick(files, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_c.FileSkins->fileNames().size(), 3);

    // In another folder nothing is chosen, and the name of several goes.
    QVERIFY(m_c.DirSkins->setPath(path("Game/GameData/Skins/sub")));
    QCOMPARE(m_c.txtNewName->text(), QString());
    QCOMPARE(m_c.txtNewName->toolTip(), QString());
    QVERIFY(clickEntry(*view(m_c.FileSkins), "D001MA_x.cmx"));
    QCOMPARE(m_c.txtNewName->text(), QStringLiteral("D001MA_newx"));
}

// A new file named as a game's own character says so first and offers to
// create anyway; the archive's entry then offers to put the game's own back,
// naming the file that takes its place, and says why once it cannot.
void TestWindowChoices::overridingTheGamesOwnAsksAndIsPutBackFromItsEntry()
{
    m_games->start();
    QTRY_VERIFY(!m_games->running());
    QVERIFY(m_window->controller().openSkinsFolder(path("work")));
    QVERIFY(m_window->controller().openPropsFolder(path("props")));
    QVERIFY(clickEntry(*view(m_c.FileSkins), "C001MA_c.cmx"));
    QVERIFY(clickEntry(*view(m_c.FileProps), "hat.skn"));
    m_c.txtNewName->setText("B001FAFit_01");
    m_c.txtSavedTo->setText(path("Game/GameData/Skins"));
    setNextAnswer(MessageButton::CreateAnyway);
    QTest::mouseClick(m_c.cmdDoIt->findChild<QPushButton *>(), Qt::LeftButton);
    QCOMPARE(m_messages.size(), 2);
    const Message question = m_messages.first();
    QVERIFY2(question.text.startsWith("B001FAFit_01.cmx takes the place of the game's own "
                                      "character"),
             qPrintable(question.text));
    QCOMPARE(question.buttons, (QList{MessageButton::CreateAnyway, MessageButton::Cancel}));
    const QString loose = path("Game/GameData/Skins/B001FAFit_01.cmx");
    QVERIFY(QFile::exists(loose));

    QVERIFY(m_window->controller().openSkinsFolder(
        path("Game/ExpansionShared/ExpansionShared.far/Skins")));
    QAction *putBack = menuCommandOn(m_c.FileSkins, "B001FAFit_01.cmx.bcf", "mnuPutBack");
    QVERIFY(putBack && putBack->isVisible() && putBack->isEnabled());
    QVERIFY2(putBack->toolTip().contains(loose), qPrintable(putBack->toolTip()));
    QAction *restore = menuCommandOn(m_c.FileSkins, "B001FAFit_01.cmx.bcf", "mnuRestore");
    QVERIFY(restore && !restore->isEnabled() && !restore->toolTip().isEmpty());

    setNextAnswer(MessageButton::Yes);
    putBack->trigger();
    QVERIFY(!QFile::exists(loose));
    QVERIFY(QFile::exists(loose + ".bak"));
    putBack = menuCommandOn(m_c.FileSkins, "B001FAFit_01.cmx.bcf", "mnuPutBack");
    QVERIFY(putBack && !putBack->isEnabled() && !putBack->toolTip().isEmpty());

    // Outside an archive the command is not offered.
    QVERIFY(m_window->controller().openSkinsFolder(path("work")));
    QVERIFY(!menuCommandOn(m_c.FileSkins, "C001MA_c.cmx", "mnuPutBack")->isVisible());
}

QTEST_MAIN(TestWindowChoices)
#include "tst_windowchoices.moc"
