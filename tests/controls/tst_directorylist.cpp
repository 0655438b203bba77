#include "controls/directorylist.h"
#include "tests/support/widgets.h"

#include <QDir>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using namespace testsupport;

// A folder list following changes on disk, a few rows at a time or so many
// that the rows are made anew.
class TestDirectoryList : public QObject
{
    Q_OBJECT

private slots:
    void followsChangesKeepingSelectionAndScroll_data();
    void followsChangesKeepingSelectionAndScroll();
};

void TestDirectoryList::followsChangesKeepingSelectionAndScroll_data()
{
    QTest::addColumn<int>("added");
    QTest::newRow("a few rows") << 3;
    QTest::newRow("too many rows to change one by one") << 1500;
}

void TestDirectoryList::followsChangesKeepingSelectionAndScroll()
{
    QFETCH(int, added);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir folder(dir.path());
    const auto names = [](QChar first, int count) {
        QStringList made;
        for (int i = 0; i < count; ++i)
            made << first + QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
        return made;
    };
    QStringList shown = names(u's', 200);
    for (const QString &name : std::as_const(shown))
        QVERIFY(folder.mkdir(name));

    DirectoryList list(dir.path());
    list.resize(200, 150);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    auto *view = list.findChild<QListWidget *>();
    const auto entries = [&] {
        const QStringList texts = entryTexts(*view);
        return texts.mid(texts.indexOf(QDir(dir.path()).dirName()) + 1);
    };
    QCOMPARE(entries(), shown);
    QVERIFY(clickEntry(*view, "s0150"));
    view->scrollToItem(view->item(entryNamed(*view, "s0100").row()),
                       QAbstractItemView::PositionAtTop);
    const int scrolled = view->verticalScrollBar()->value();

    // Added before and around the selection, removed above and below it; a
    // name differing from the selection's only in case where the system can
    // hold both.
    const QStringList addedNames = names(u'a', added);
    for (const QString &name : addedNames)
        QVERIFY(folder.mkdir(name));
    for (const char *name : {"s0000", "s0199"})
        QVERIFY(folder.rmdir(QLatin1String(name)));
    QVERIFY(folder.mkdir("s0150a"));
    const bool caseTwins = folder.mkdir("S0150");
    shown = addedNames + shown.mid(1, 198);
    shown.insert(shown.indexOf("s0150") + 1, "s0150a");
    if (caseTwins)
        shown.insert(shown.indexOf("s0150"), "S0150");
    QTRY_COMPARE(entries(), shown);
    QCOMPARE(view->currentItem()->text(), QStringLiteral("s0150"));
    QCOMPARE(view->verticalScrollBar()->value(), scrolled);

    // The selected folder gone, the folder shown is selected, as when it opened.
    for (const QString &name : addedNames)
        QVERIFY(folder.rmdir(name));
    QVERIFY(folder.rmdir("s0150"));
    shown = shown.mid(added);
    shown.removeOne("s0150");
    QTRY_COMPARE(entries(), shown);
    QCOMPARE(view->currentItem()->text(), QDir(dir.path()).dirName());
    QCOMPARE(view->verticalScrollBar()->value(), scrolled);
}

QTEST_MAIN(TestDirectoryList)
#include "tst_directorylist.moc"
