#include "controls/commandbutton.h"
#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/label.h"
#include "controls/textbox.h"
#include "platform/drives.h"
#include "platform/systempaths.h"
#include "tests/support/files.h"
#include "tests/support/widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace kelvane;
using namespace testsupport;

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

// Shows list on folder; true once it is on screen.
bool showFileList(FileList &list, const QString &folder, int height = 200)
{
    list.resize(200, height);
    list.setPath(folder);
    list.show();
    return QTest::qWaitForWindowExposed(&list);
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void directoryListShowsChainThenSortedSubfolders();
    void directoryListRaisesChangeOnlyForAnotherFolder();
    void directoryListRefusesFolderItCannotList();
    void directoryListOpensByDoubleClickAndByTypingAndEnter();
    void directoryListOpensArchivesLikeFolders();

    void fileListMatchesPatternIgnoringCaseSortedByName();
    void fileListChoiceFollowsMouseAndKeyboard();
    void fileListPathWriteClearsSelectionAndRefreshKeepsIt();
    void fileListEverySelectionTheUserMakesIsChosen();
    void listsShowOnlyRegularFilesAndFoldersHiddenOnesToo();
    void listsFollowTheDiskKeepingTheSelection();
    void listsShowTheirSelectionAsWithTheFocusWithoutIt();
    void fileListAsksForToolTipOnlyOnHover();

    void driveListSelectsDriveOfWrittenPath();
    void driveRootDropsLabel();
    void driveListShowsWholeEntriesWhenAsked();

    void textBoxChangeFollowsTypingAndWritesSynchronously();
    void commandButtonRaisesNoClickWhileDisabled();
    void labelRaisesClick();

private:
    QTemporaryDir m_emptyWinePrefix;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
};

void TestControls::initTestCase()
{
    // A prefix without drives keeps "/" the start folder whatever this machine holds.
    QVERIFY(m_emptyWinePrefix.isValid());
    qputenv("WINEPREFIX", QFile::encodeName(m_emptyWinePrefix.path()));
}

void TestControls::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *folder : {"top/mid/Zeta", "top/mid/alpha", "top/mid/beta", "files/dir.cmx"})
        QVERIFY(QDir().mkpath(path(QLatin1String(folder))));
    for (const char *file : {"B001FAFIT_01.CMX", "abc.cmx", "Zed.cmx", "x.skn", "notes.txt"})
        touch(path(QStringLiteral("files/") + QLatin1String(file)));
}

void TestControls::directoryListShowsChainThenSortedSubfolders()
{
    DirectoryList list;
    QVERIFY(list.setPath(path("top/mid")));
    auto *view = list.findChild<QListWidget *>();
    const QStringList shown = entryTexts(*view);
#ifdef Q_OS_WIN
    QCOMPARE(shown.first(), path("top").left(2) + QStringLiteral("\\")); // the drive's, as "C:\"
#else
    QCOMPARE(shown.first(), systemRoot());
#endif
    QCOMPARE(shown.mid(shown.size() - 5), QStringList({"top", "mid", "alpha", "beta", "Zeta"}));
    QCOMPARE(view->currentItem()->text(), QStringLiteral("mid"));
    QCOMPARE(list.path(), QDir::toNativeSeparators(path("top/mid")));
}

void TestControls::directoryListRaisesChangeOnlyForAnotherFolder()
{
    DirectoryList list;
    QVERIFY(list.setPath(path("top")));
    QString pathSeenByHandler;
    connect(&list, &DirectoryList::changed, this, [&] { pathSeenByHandler = list.path(); });
    QSignalSpy changed(&list, &DirectoryList::changed);

    QVERIFY(list.setPath(path("top/")));
    QVERIFY(list.setPath(path("top/mid/..")));
    QCOMPARE(changed.count(), 0);

    QVERIFY(list.setPath(path("top/mid")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(pathSeenByHandler, QDir::toNativeSeparators(path("top/mid")));

    QVERIFY(list.setPath(systemRoot()));
    QCOMPARE(list.path(), systemRoot());
}

void TestControls::directoryListRefusesFolderItCannotList()
{
    DirectoryList list;
    QVERIFY(list.setPath(path("top")));
    QSignalSpy changed(&list, &DirectoryList::changed);
    QVERIFY(!list.setPath(path("missing")));
    QVERIFY(!list.setPath(path("files/abc.cmx")));
    QCOMPARE(list.path(), QDir::toNativeSeparators(path("top")));
    QCOMPARE(changed.count(), 0);
}

void TestControls::directoryListOpensByDoubleClickAndByTypingAndEnter()
{
    DirectoryList list;
    list.resize(200, 400);
    QVERIFY(list.setPath(path("top/mid")));
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    auto *view = list.findChild<QListWidget *>();
    QSignalSpy changed(&list, &DirectoryList::changed);

    QVERIFY(clickEntry(*view, QStringLiteral("beta")));
    QCOMPARE(changed.count(), 0);
    QVERIFY(doubleClickEntry(*view, QStringLiteral("beta")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(list.path(), QDir::toNativeSeparators(path("top/mid/beta")));

    // Up the chain by keyboard: type the parent's name, then Enter.
    QTest::keyClicks(view, QStringLiteral("mi"));
    QCOMPARE(changed.count(), 1);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(list.path(), QDir::toNativeSeparators(path("top/mid")));
}

void TestControls::directoryListOpensArchivesLikeFolders()
{
    for (const char *folder : {"game/sub", "game/dir.far"})
        QVERIFY(QDir().mkpath(path(QLatin1String(folder))));
    const QString archive = QDir::toNativeSeparators(path("game/b.FAR"));
    QVERIFY(writeFile(archive, farArchive({{"Skins\\x.cmx", "x"},
                                           {"skins\\Heads\\h.cmx", "h"},
                                           {"Textures\\t.bmp", "t"},
                                           {"top.cmx", "t"}})));
    QVERIFY(writeFile(path("game/a.far"), farArchive({})));
    touch(path("game/notes.txt"));
    DirectoryList list;
    list.resize(200, 400);
    QVERIFY(list.setPath(path("game")));
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    auto *view = list.findChild<QListWidget *>();
    const auto lastEntries = [view](qsizetype count) { return entryTexts(*view).last(count); };

    // Archives after the folders, and marked as archives.
    QCOMPARE(lastEntries(5), QStringList({"game", "dir.far", "sub", "a.far", "b.FAR"}));
    const auto picture = [view](const char *name) {
        return view->item(entryNamed(*view, QLatin1String(name)).row())
            ->icon()
            .pixmap(16)
            .toImage();
    };
    QVERIFY(picture("b.FAR") != picture("sub"));
    QCOMPARE(picture("b.FAR"), picture("a.far"));

    // Opened like a folder: the folders its entries lie in, once whatever their case.
    QVERIFY(clickEntry(*view, "b.FAR"));
    QVERIFY(doubleClickEntry(*view, "b.FAR"));
    QCOMPARE(list.path(), archive);
    QCOMPARE(lastEntries(4), QStringList({"game", "b.FAR", "Skins", "Textures"}));
    QVERIFY(list.setPath(archive + "/SKINS/heads"));
    QCOMPARE(list.path(), archive + QDir::separator() + "Skins" + QDir::separator() + "Heads");
    QVERIFY(!list.setPath(archive + "/Meshes"));

    // Rewritten in place, the archive shows what it holds now.
    QVERIFY(list.setPath(archive));
    QVERIFY(writeFile(archive, farArchive({{"Meshes\\m.skn", "m"}})));
    QTRY_COMPARE(lastEntries(2), QStringList({"b.FAR", "Meshes"}));

    QVERIFY(clickEntry(*view, "game"));
    QVERIFY(doubleClickEntry(*view, "game"));
    QCOMPARE(list.path(), QDir::toNativeSeparators(path("game")));
}

void TestControls::fileListMatchesPatternIgnoringCaseSortedByName()
{
    FileList list({QStringLiteral("*.cmx")});
    list.setPath(path("files"));
    QCOMPARE(entryTexts(*list.findChild<QListView *>()),
             QStringList({"abc.cmx", "B001FAFIT_01.CMX", "Zed.cmx"}));
    QCOMPARE(list.path(), path("files"));

    list.setPath(path("missing"));
    QVERIFY(entryTexts(*list.findChild<QListView *>()).isEmpty());
}

void TestControls::fileListChoiceFollowsMouseAndKeyboard()
{
    FileList list({QStringLiteral("*.cmx")});
    QVERIFY(showFileList(list, path("files")));
    auto *view = list.findChild<QListView *>();
    QSignalSpy chosen(&list, &FileList::fileChosen);
    QString nameSeenByHandler;
    connect(&list, &FileList::fileChosen, this, [&] { nameSeenByHandler = list.fileName(); });

    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(nameSeenByHandler, QStringLiteral("abc.cmx"));
    chosen.clear();

    QVERIFY(clickEntry(*view, QStringLiteral("abc.cmx")));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(nameSeenByHandler, QStringLiteral("abc.cmx"));

    QVERIFY(clickEntry(*view, QStringLiteral("abc.cmx")));
    QCOMPARE(chosen.count(), 2);
    QVERIFY(clickEntry(*view, QStringLiteral("abc.cmx"), Qt::ControlModifier));
    QCOMPARE(list.fileName(), QStringLiteral("abc.cmx"));

    const int beforeKeys = int(chosen.count());
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(chosen.count(), beforeKeys + 1);
    QCOMPARE(nameSeenByHandler, QStringLiteral("B001FAFIT_01.CMX"));
    QTest::keyClicks(view, QStringLiteral("z"));
    QCOMPARE(chosen.count(), beforeKeys + 2);
    QCOMPARE(list.fileName(), QStringLiteral("Zed.cmx"));
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(chosen.count(), beforeKeys + 2);
}

void TestControls::fileListPathWriteClearsSelectionAndRefreshKeepsIt()
{
    FileList list({QStringLiteral("*.cmx")});
    QVERIFY(showFileList(list, path("files")));
    auto *view = list.findChild<QListView *>();
    QSignalSpy chosen(&list, &FileList::fileChosen);
    QVERIFY(clickEntry(*view, "Zed.cmx"));
    QCOMPARE(chosen.count(), 1);

    touch(path("files/new.cmx"));
    list.refresh();
    QVERIFY(entryTexts(*view).contains("new.cmx"));
    QCOMPARE(list.fileName(), QStringLiteral("Zed.cmx"));

    QVERIFY(QFile::remove(path("files/Zed.cmx")));
    list.refresh();
    QCOMPARE(list.fileName(), QString());

    QVERIFY(clickEntry(*view, "abc.cmx"));
    list.setPath(path("files"));
    QCOMPARE(list.fileName(), QString());
    QCOMPARE(chosen.count(), 2);
}

void TestControls::fileListEverySelectionTheUserMakesIsChosen()
{
    for (int i = 0; i < 20; ++i)
        touch(path(QStringLiteral("files/m%1.cmx").arg(i, 2, 10, QLatin1Char('0'))));
    FileList list({QStringLiteral("*.cmx")});
    QVERIFY(showFileList(list, path("files"), 100));
    auto *view = list.findChild<QListView *>();
    QWidget *viewport = view->viewport();
    QString nameSeenByHandler;
    connect(&list, &FileList::fileChosen, this, [&] { nameSeenByHandler = list.fileName(); });
    const auto centre = [&](const char *name) {
        return view->visualRect(entryNamed(*view, QLatin1String(name))).center();
    };
    // The controller must always have seen what the list shows selected.
    const auto seen = [&](const char *name) {
        return list.fileName() == QLatin1String(name) && nameSeenByHandler == list.fileName();
    };

    QTest::mouseClick(viewport, Qt::RightButton, {}, centre("abc.cmx"));
    QVERIFY(seen("abc.cmx"));
    QTest::mousePress(viewport, Qt::LeftButton, {}, centre("abc.cmx"));
    QTest::mouseMove(viewport, centre("B001FAFIT_01.CMX"));
    QTest::mouseMove(viewport, centre("m00.cmx"));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre("m00.cmx"));
    QVERIFY(seen("m00.cmx"));
    QTest::mouseClick(viewport, Qt::MiddleButton, {}, centre("m01.cmx"));
    QVERIFY(seen("m01.cmx"));

    QTest::keyClick(view, Qt::Key_End);
    QVERIFY(seen("Zed.cmx"));
    QTest::keyClick(view, Qt::Key_Home);
    QVERIFY(seen("abc.cmx"));
    QTest::keyClick(view, Qt::Key_PageDown);
    QVERIFY(list.fileName() != QLatin1String("abc.cmx"));
    QVERIFY(nameSeenByHandler == list.fileName());
    QTest::keyClick(view, Qt::Key_PageUp);
    QVERIFY(seen("abc.cmx"));
    QTest::keyClicks(view, QStringLiteral("m1"));
    QVERIFY(seen("m10.cmx"));

    // Neither can leave the list without a selection.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, centre("m10.cmx"));
    QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(seen("m10.cmx"));
}

void TestControls::listsShowOnlyRegularFilesAndFoldersHiddenOnesToo()
{
#ifdef Q_OS_WIN
    QSKIP("FIFOs, and hidden names by a leading dot, are of other systems");
#else
    QVERIFY(::mkfifo(QFile::encodeName(path("files/pipe.cmx")).constData(), 0600) == 0);
    QVERIFY(QFile::link(path("files/pipe.cmx"), path("files/pipelink.cmx")));
    QVERIFY(QFile::link(path("files/pipe.cmx"), path("files/pipedir")));
    QVERIFY(QFile::link(path("files/abc.cmx"), path("files/filelink.cmx")));
    touch(path("files/.hidden.cmx"));
    QVERIFY(QDir().mkpath(path("files/.wine")));

    FileList files({QStringLiteral("*.cmx")});
    files.setPath(path("files"));
    QCOMPARE(
        entryTexts(*files.findChild<QListView *>()),
        QStringList({".hidden.cmx", "abc.cmx", "B001FAFIT_01.CMX", "filelink.cmx", "Zed.cmx"}));

    DirectoryList folders;
    QVERIFY(folders.setPath(path("files")));
    const QStringList shown = entryTexts(*folders.findChild<QListWidget *>());
    QCOMPARE(shown.mid(shown.indexOf("files") + 1), QStringList({".wine", "dir.cmx"}));
#endif
}

void TestControls::listsFollowTheDiskKeepingTheSelection()
{
    FileList files({QStringLiteral("*.cmx")});
    files.resize(200, 200);
    files.setPath(path("files"));
    files.show();
    QVERIFY(QTest::qWaitForWindowExposed(&files));
    auto *fileView = files.findChild<QListView *>();
    QVERIFY(clickEntry(*fileView, "Zed.cmx"));
    QSignalSpy chosen(&files, &FileList::fileChosen);

    touch(path("files/added.cmx"));
    QVERIFY(QFile::rename(path("files/abc.cmx"), path("files/renamed.cmx")));
    QTRY_COMPARE(entryTexts(*fileView),
                 QStringList({"added.cmx", "B001FAFIT_01.CMX", "renamed.cmx", "Zed.cmx"}));
    QCOMPARE(files.fileName(), QStringLiteral("Zed.cmx"));
    QCOMPARE(chosen.count(), 0);

    DirectoryList folders;
    QVERIFY(folders.setPath(path("top/mid")));
    auto *folderView = folders.findChild<QListWidget *>();
    QSignalSpy changed(&folders, &DirectoryList::changed);
    QVERIFY(QDir().mkdir(path("top/mid/gamma")));
    QVERIFY(QDir().rmdir(path("top/mid/alpha")));
    QTRY_COMPARE(entryTexts(*folderView).mid(entryTexts(*folderView).indexOf("mid")),
                 QStringList({"mid", "beta", "gamma", "Zeta"}));
    QCOMPARE(folderView->currentItem()->text(), QStringLiteral("mid"));
    QCOMPARE(changed.count(), 0);

    // The folder shown renamed away: the one above opens, as the user would open it.
    QVERIFY(QDir().rename(path("top/mid"), path("top/moved")));
    QTRY_COMPARE(folders.path(), QDir::toNativeSeparators(path("top")));
    QCOMPARE(changed.count(), 1);
}

// Styles draw a selection in the palette's inactive colours when the view has
// not the focus, and the native Windows styles in a faint grey of their own.
void TestControls::listsShowTheirSelectionAsWithTheFocusWithoutIt()
{
    QWidget window;
    auto *files = new FileList({QStringLiteral("*.cmx")}, &window);
    auto *folders = new DirectoryList(path("top/mid"), &window);
    auto *elsewhere = new QLineEdit(&window);
    files->setGeometry(0, 0, 200, 100);
    folders->setGeometry(0, 100, 200, 100);
    elsewhere->setGeometry(0, 200, 200, 20);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Active, QPalette::Highlight, Qt::red);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::green);
    window.setPalette(palette);
    // A style that draws with the palette, as the classic and Fusion styles do.
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    files->setPath(path("files"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *fileView = files->findChild<QListView *>();
    auto *folderView = folders->findChild<QListWidget *>();
    QVERIFY(clickEntry(*fileView, "Zed.cmx"));

    elsewhere->setFocus();
    QTRY_VERIFY(elsewhere->hasFocus());
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(fileView),
                                    static_cast<QAbstractItemView *>(folderView)}) {
        view->setStyle(fusion.get());
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        const QImage shown = view->viewport()->grab(view->visualRect(selected.first())).toImage();
        const QColor colour = shown.pixelColor(shown.width() - 3, shown.height() / 2);
        QVERIFY2(colour == Qt::red, qPrintable(colour.name()));
    }
}

void TestControls::fileListAsksForToolTipOnlyOnHover()
{
    FileList list({QStringLiteral("*.cmx")});
    QStringList asked;
    list.setToolTipProvider([&asked](const QString &filePath) {
        asked << filePath;
        return QStringLiteral("holds <b>%1</b>").arg(asked.size());
    });
    QVERIFY(showFileList(list, path("files")));
    QVERIFY(asked.isEmpty());

    auto *view = list.findChild<QListView *>();
    QVERIFY(hoverEntry(*view, "Zed.cmx"));
    QCOMPARE(asked, QStringList{QDir::toNativeSeparators(path("files/Zed.cmx"))});
    QCOMPARE(QToolTip::text(), QStringLiteral("holds <b>1</b>"));

    const QPoint zed = view->visualRect(entryNamed(*view, "Zed.cmx")).center();
    hoverAt(*view, QPoint(zed.x(), view->viewport()->height() - 2));
    QCOMPARE(asked.size(), 1);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestControls::driveListSelectsDriveOfWrittenPath()
{
    const QString usb = QDir::toNativeSeparators(path("usb"));
    const QString inner = QDir::toNativeSeparators(path("usb/inner"));
    DriveList drives([&] { return QStringList{"/", usb + " [USB]", inner}; });
    auto *box = drives.findChild<QComboBox *>();
    QSignalSpy changed(&drives, &DriveList::changed);
    QString driveSeenByHandler;
    connect(&drives, &DriveList::changed, this, [&] { driveSeenByHandler = drives.drive(); });

    drives.setDrive(QDir::toNativeSeparators(path("usb/inner/deeper")));
    QCOMPARE(drives.drive(), inner);
    QCOMPARE(driveSeenByHandler, inner);
    drives.setDrive(QDir::toNativeSeparators(path("usb/innerly")));
    QCOMPARE(drives.drive(), usb + " [USB]");
    drives.setDrive(usb);
    QCOMPARE(changed.count(), 2);

    box->setCurrentIndex(0); // the user's choice
    QCOMPARE(changed.count(), 3);
    QCOMPARE(drives.drive(), QStringLiteral("/"));
    drives.setDrive(QStringLiteral("not a drive"));
    QCOMPARE(drives.drive(), QStringLiteral("/"));
    QCOMPARE(changed.count(), 3);

#ifndef Q_OS_WIN
    QCOMPARE(driveRoot(browsableDrives().first()), QStringLiteral("/"));
#endif
}

void TestControls::driveRootDropsLabel()
{
#ifdef Q_OS_WIN
    QCOMPARE(driveRoot("d: [DATA]"), QStringLiteral("d:\\"));
#else
    QCOMPARE(driveRoot("/media/me/USB STICK [USB STICK]"), QStringLiteral("/media/me/USB STICK"));
    QCOMPARE(driveRoot("/mnt/data"), QStringLiteral("/mnt/data"));
#endif
}

void TestControls::driveListShowsWholeEntriesWhenAsked()
{
    const QString labelled = QStringLiteral("c: [a long volume label]");
    DriveList drives([&] { return QStringList{labelled, QStringLiteral("/")}; });
    const QColor teal(0, 128, 128);
    QPalette colours = drives.palette();
    colours.setColor(QPalette::Button, teal);
    colours.setColor(QPalette::ButtonText, Qt::white);
    drives.setPalette(colours);
    drives.resize(57, 21);
    drives.setDrive(labelled);
    drives.show();
    QVERIFY(QTest::qWaitForWindowExposed(&drives));
    auto *box = drives.findChild<QComboBox *>();
    QCOMPARE(box->toolTip(), labelled);
    QCOMPARE(box->itemData(0, Qt::ToolTipRole).toString(), labelled);

    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    QVERIFY(box->view()->width() >= box->view()->fontMetrics().horizontalAdvance(labelled));
    // The open list keeps the box's colours: an entry other than the chosen
    // one shows white on the face colour, not the style's menu colours.
    const QRect other = box->view()->visualRect(box->model()->index(1, 0));
    const QImage shown = box->view()->viewport()->grab(other).toImage();
    QCOMPARE(shown.pixelColor(shown.width() - 2, shown.height() / 2), teal);
    int lightest = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            lightest = qMax(lightest, qGray(shown.pixel(x, y)));
    }
    QVERIFY(lightest > 200);
    box->hidePopup();
}

void TestControls::textBoxChangeFollowsTypingAndWritesSynchronously()
{
    TextBox box;
    QSignalSpy changed(&box, &TextBox::changed);
    QString textSeenByHandler;
    connect(&box, &TextBox::changed, this, [&] { textSeenByHandler = box.text(); });

    box.setText(QStringLiteral("a_b"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(textSeenByHandler, QStringLiteral("a_b"));
    QTest::keyClicks(box.findChild<QLineEdit *>(), QStringLiteral("cd"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(textSeenByHandler, QStringLiteral("a_bcd"));
}

void TestControls::commandButtonRaisesNoClickWhileDisabled()
{
    CommandButton button(QStringLiteral("Go"));
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    auto *push = button.findChild<QPushButton *>();
    QSignalSpy clicked(&button, &CommandButton::clicked);

    button.setEnabled(false);
    QTest::mouseClick(push, Qt::LeftButton);
    QTest::keyClick(push, Qt::Key_Space);
    QCOMPARE(clicked.count(), 0);

    button.setEnabled(true);
    QTest::mouseClick(push, Qt::LeftButton);
    QTest::keyClick(push, Qt::Key_Return);
    QCOMPARE(clicked.count(), 2);
}

void TestControls::labelRaisesClick()
{
    Label label(QStringLiteral("Kelvane"));
    label.resize(100, 20);
    QSignalSpy clicked(&label, &Label::clicked);
    QTest::mouseClick(&label, Qt::LeftButton);
    QTest::mouseClick(&label, Qt::RightButton);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(label.focusPolicy(), Qt::NoFocus);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
