#include "controls/messagebox.h"
#include "ui/help/about.h"
#include "ui/help/helptext.h"
#include "ui/help/helpwindow.h"
#include "ui/look/look.h"
#include "version.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kelvane;

namespace {

const QString crlf = QStringLiteral("\r\n");

// The help text cut at every CR LF; the final CR LF leaves no extra line.
QStringList helpLines()
{
    QStringList lines = helpText().split(crlf);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QPlainTextEdit *txtHelpOf(QWidget *help)
{
    return help->findChild<QPlainTextEdit *>(QStringLiteral("txtHelp"));
}

// Once the Help window's loop is running, hands the active modal widget to
// action, then closes every Help window, modal or not, so that a fault fails
// the test instead of hanging it.
void whenModalOpens(std::function<void(QWidget *)> action)
{
    QTimer::singleShot(0, [action = std::move(action)] {
        action(QApplication::activeModalWidget());
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QStringLiteral("Help"))
                window->close();
        }
    });
}

} // namespace

class TestHelp final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void helpTextLines();
    void helpTextSections();
    void helpTextTabsOnlyWhereAllowed();
    void helpTextTellsPlayersWhatTheyAsked();
    void helpWindowLayout();
    void helpIsModalAndFreshOnReopen();
    void txtHelpIsReadOnlyButCopyable();
    void aboutText();
    void aboutMessageIsTheSameEveryTime();
    void bundledLook();
};

void TestHelp::initTestCase()
{
    QVERIFY(registerBundledFonts());
}

void TestHelp::cleanup()
{
    setMessageHandler({});
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestHelp::helpTextLines()
{
    const QString text = helpText();
    QVERIFY(text.endsWith(crlf));
    // Every line break is a CR LF: no lone CR or LF.
    QCOMPARE(text.count(QLatin1Char('\n')), text.count(crlf));
    QCOMPARE(text.count(QLatin1Char('\r')), text.count(crlf));
    for (const QChar c : text)
        QVERIFY2(c.unicode() < 128, "the help text is plain ASCII");

    const QStringList lines = helpLines();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!lines[i].isEmpty());
        QCOMPARE(lines[i].count(QLatin1Char('\t')), lines[i].size());
    }
    QCOMPARE(lines[3], QString());
    QVERIFY(lines[4].startsWith(QStringLiteral("This program is intended")));
    QCOMPARE(lines[5], QString());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(lines[i].size() <= 97, qPrintable(QStringLiteral("line %1 too long").arg(i + 1)));
}

void TestHelp::helpTextSections()
{
    // Each section: its heading, the heading's underline, an empty line, the
    // body, and an empty line before the next heading; none after the last.
    const QStringList lines = helpLines();
    QList<int> at;
    for (int i = 6; i < lines.size(); ++i) {
        if (lines[i].startsWith(QStringLiteral(">>>")))
            at.append(i);
    }
    QCOMPARE(at.value(0), 6);
    at.append(lines.size() + 1);
    QStringList headings;
    for (int section = 0; section + 1 < at.size(); ++section) {
        const int top = at[section];
        const int next = at[section + 1];
        headings.append(lines[top]);
        QCOMPARE(lines[top + 1], QString(lines[top].size(), QLatin1Char('=')));
        QCOMPARE(lines[top + 2], QString());
        QVERIFY(!lines[top + 3].trimmed().isEmpty() && !lines[next - 2].trimmed().isEmpty());
        QCOMPARE(lines.value(next - 1), QString());
    }
    QCOMPARE(headings, QStringList({QStringLiteral(">>>What are CMX and SKN files?"),
                                    QStringLiteral(">>>Where are my CMX and SKN files located?"),
                                    QStringLiteral(">>>What does this program do?"),
                                    QStringLiteral(">>>What will I need?"),
                                    QStringLiteral(">>>EXAMPLE"), QStringLiteral(">>>Email Me")}));

    QVERIFY(lines[9].startsWith(QStringLiteral("CMX = ")));
    QVERIFY(lines[10].startsWith(QString(12, QLatin1Char(' '))));
    QVERIFY(lines[11].startsWith(QStringLiteral("SKN = ")));
    const QString example = lines.mid(at[4], at[5] - at[4]).join(QLatin1Char('\n'));
    QCOMPARE(example.count(QStringLiteral("\n*")), 3);
    for (int step = 1; step <= 7; ++step)
        QVERIFY(example.contains(QStringLiteral("\n %1. ").arg(step)));
    QVERIFY(lines[at[5] + 3].startsWith(QStringLiteral("1. ")));
}

void TestHelp::helpTextTabsOnlyWhereAllowed()
{
    const QStringList lines = helpLines();
    const int example = lines.indexOf(QStringLiteral(">>>EXAMPLE"));
    const int firstMark = lines.indexOf(QStringLiteral("    ***"));
    const int secondMark = lines.indexOf(QStringLiteral("    ***"), firstMark + 1);
    QVERIFY(firstMark > example);
    // The glasses, their texture, the second head and the new file.
    QCOMPARE(secondMark, firstMark + 5);

    for (int i = 3; i < lines.size(); ++i) {
        const bool inFileList = i > firstMark && i < secondMark;
        QCOMPARE(lines[i].startsWith(QLatin1Char('\t')), inFileList);
        QCOMPARE(lines[i].count(QLatin1Char('\t')), inFileList ? 1 : 0);
    }
    const QString email =
        lines.mid(lines.indexOf(QStringLiteral(">>>Email Me")) + 3).join(QLatin1Char(' '));
    QVERIFY(email.contains(QStringLiteral("issue tracker")));
    QVERIFY(!email.contains(QLatin1Char('@')));
}

void TestHelp::helpTextTellsPlayersWhatTheyAsked()
{
    const QString text = helpText().simplified();
    for (const char *told :
         {"double-click", "Enter", ".bak copy", "Program Files (x86)", "TEXTURE.bmp"})
        QVERIFY2(text.contains(QLatin1String(told)), told);
    // Many files at once are made in the window, not on the command line.
    QVERIFY(!text.contains(QLatin1String("kelvane-attach")));
}

void TestHelp::helpWindowLayout()
{
    HelpWindow help;
    QCOMPARE(help.objectName(), QStringLiteral("Help"));
    QCOMPARE(help.windowTitle(), QStringLiteral(KELVANE_TITLE));
    QCOMPARE(help.minimumSize(), help.maximumSize());
    QCOMPARE(help.size(), help.minimumSize());
    QVERIFY(!help.windowFlags().testAnyFlags(Qt::WindowMinMaxButtonsHint));

    QPlainTextEdit *txtHelp = txtHelpOf(&help);
    QVERIFY(txtHelp);
    // Above the client area the box hides blank lines, never the first words;
    // it ends at the bottom and one pixel short of the right edge.
    const QRect box = txtHelp->geometry();
    QVERIFY(box.top() < 0 && -box.top() < 4 * QFontMetrics(txtHelp->font()).lineSpacing());
    QCOMPARE(box.bottomRight(), QPoint(help.width() - 2, help.height() - 1));
    QVERIFY(box.left() > 0 && box.left() < help.width() / 10);
    // Each CR LF is one line break on screen, not two.
    QCOMPARE(txtHelp->toPlainText(), helpText().replace(crlf, QStringLiteral("\n")));
}

void TestHelp::helpIsModalAndFreshOnReopen()
{
    QWidget main;
    main.resize(569, 396);
    auto *button = new QPushButton(QStringLiteral("?"), &main);
    button->setGeometry(10, 10, 40, 40);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QSignalSpy clicks(button, &QPushButton::clicked);

    QPointer<QWidget> first;
    bool ownedByMain = false;
    bool centred = false;
    int scrollRange = 0;
    whenModalOpens([&](QWidget *help) {
        first = help;
        if (!help)
            return;
        ownedByMain = help->objectName() == QStringLiteral("Help") && help->parentWidget() == &main;
        centred = (help->geometry().center() - main.geometry().center()).manhattanLength() <= 2;
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, button->geometry().center());
        QScrollBar *scroll = txtHelpOf(help)->verticalScrollBar();
        scrollRange = scroll->maximum();
        scroll->setValue(scroll->maximum());
    });
    showHelp(&main);
    QVERIFY(ownedByMain);
    QVERIFY(centred);
    QVERIFY(scrollRange > 0);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(first.isNull());

    int reopenedAt = -1;
    whenModalOpens([&](QWidget *help) {
        if (help)
            reopenedAt = txtHelpOf(help)->verticalScrollBar()->value();
    });
    showHelp(&main);
    QCOMPARE(reopenedAt, 0);

    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, button->geometry().center());
    QCOMPARE(clicks.count(), 1);
}

void TestHelp::txtHelpIsReadOnlyButCopyable()
{
    HelpWindow help;
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QPlainTextEdit *txtHelp = txtHelpOf(&help);
    const QString before = txtHelp->toPlainText();

    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClicks(txtHelp, QStringLiteral("typed"));
    QTest::keyClick(txtHelp, Qt::Key_Return);
    QTest::keyClick(txtHelp, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(txtHelp, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(txtHelp, Qt::Key_Delete);
    QTest::keyClick(txtHelp, Qt::Key_Backspace);
    QTest::keyClick(txtHelp, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(txtHelp->toPlainText(), before);

    QTest::keyClick(txtHelp, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(txtHelp, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), before);
}

void TestHelp::aboutText()
{
    const QString text = kelvane::aboutText();
    QVERIFY(!text.endsWith(crlf));
    QVERIFY(text.contains(crlf + crlf));
    const QStringList lines = text.split(crlf);
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines[0].contains(QStringLiteral("the Kelvane developers.")));
    QVERIFY(lines[0].endsWith(
        QStringLiteral(". By using this program you agree to the following terms:")));
    QVERIFY(lines[1].startsWith(QStringLiteral("1. ")));
    QVERIFY(lines[2].startsWith(QStringLiteral("2. ")));
    QCOMPARE(lines[3], QString());
    QVERIFY(lines[4].contains(QStringLiteral("2026")));
    QVERIFY(lines[4].contains(QStringLiteral("Kelvane developers")));
    for (const QString &line : lines)
        QVERIFY(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
}

void TestHelp::aboutMessageIsTheSameEveryTime()
{
    QList<Message> shown;
    setMessageHandler([&shown](const Message &message) { shown.append(message); });
    QWidget main;
    showAbout(&main);
    showAbout(&main);

    QCOMPARE(shown.size(), 2);
    for (const Message &message : shown) {
        QCOMPARE(message.title, QStringLiteral("About " KELVANE_TITLE));
        QCOMPARE(message.style, MessageStyle::Plain);
        QCOMPARE(message.text, kelvane::aboutText());
    }
}

void TestHelp::bundledLook()
{
    const QStringList families = QFontDatabase::families();
    QVERIFY(families.contains(QStringLiteral("DejaVu Sans")));
    QVERIFY(families.contains(QStringLiteral("League Spartan")));

    const QStringList captionFamilies{QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")};
    QVERIFY(captionFamilies.contains(QFontInfo(captionFont()).family()));
    QVERIFY(captionFamilies.contains(QFontInfo(strongFont()).family()));
    QVERIFY(QFontInfo(strongFont()).bold());
    QVERIFY(!QFontInfo(captionFont()).bold());
    const QStringList titleFamilies{QStringLiteral("Tw Cen MT"), QStringLiteral("League Spartan")};
    QVERIFY(titleFamilies.contains(QFontInfo(titleFont()).family()));
    QCOMPARE(captionFont().pointSizeF(), 6.75);
    QCOMPARE(titleFont().pointSizeF(), 20.25);

    const QImage picture = backgroundPicture();
    QCOMPARE(picture.size(), QSize(597, 400));
    QVERIFY(!picture.hasAlphaChannel());
    QCOMPARE(appIcon().pixmap(32, 32).size(), QSize(32, 32));
    QVERIFY(appIcon().availableSizes().contains(QSize(32, 32)));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
