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
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
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

// Where each section's heading is, in order.
QList<int> headingLines(const QStringList &lines)
{
    QList<int> at;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QStringLiteral(">>>")))
            at.append(i);
    }
    return at;
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

    // It opens with lines of tabs alone (hidden above the box), an empty
    // line, the sentence saying what the program is for and an empty line
    // before the first heading.
    const QStringList lines = helpLines();
    int blanks = 0;
    while (blanks < lines.size() && !lines[blanks].isEmpty() &&
           lines[blanks].count(QLatin1Char('\t')) == lines[blanks].size())
        ++blanks;
    QVERIFY(blanks > 0);
    QCOMPARE(lines.value(blanks), QString());
    QVERIFY(!lines.value(blanks + 1).trimmed().isEmpty());
    QVERIFY(lines.value(blanks + 1).trimmed().endsWith(QLatin1Char('.')));
    QCOMPARE(lines.value(blanks + 2), QString());
    QCOMPARE(headingLines(lines).value(0), blanks + 3);
}

void TestHelp::helpTextSections()
{
    // Each section: its heading, the heading's underline, an empty line, the
    // body, and an empty line before the next heading; none after the last.
    const QStringList lines = helpLines();
    QList<int> at = headingLines(lines);
    QVERIFY(at.size() >= 3);
    at.append(lines.size() + 1);
    QStringList headings;
    for (int section = 0; section + 1 < at.size(); ++section) {
        const int top = at[section];
        const int next = at[section + 1];
        QVERIFY2(!headings.contains(lines[top]), qPrintable(lines[top]));
        headings.append(lines[top]);
        QVERIFY(lines[top].size() > 3);
        QCOMPARE(lines[top + 1], QString(lines[top].size(), QLatin1Char('=')));
        QCOMPARE(lines[top + 2], QString());
        QVERIFY(next - top > 4);
        QVERIFY(!lines[top + 3].trimmed().isEmpty() && !lines[next - 2].trimmed().isEmpty());
        QCOMPARE(lines.value(next - 1), QString());
    }
    const auto body = [&](int section) {
        return lines.mid(at[section] + 3, at[section + 1] - at[section] - 4);
    };

    // In order: the players' questions, then the worked example, then how to
    // report a fault.
    const int example = int(headings.size()) - 2;
    for (int section = 0; section < example; ++section)
        QVERIFY2(headings[section].endsWith(QLatin1Char('?')), qPrintable(headings[section]));
    QVERIFY(!headings[example].endsWith(QLatin1Char('?')));
    QVERIFY(body(example + 1).join(QLatin1Char(' ')).contains(QStringLiteral("issue tracker")));
    QVERIFY(body(example + 1).constFirst().startsWith(QStringLiteral("1. ")));

    // The first section defines the files the window lists, one "NAME = "
    // each, a definition's further lines indented past its "= ".
    const QStringList terms = body(0);
    int defined = 0;
    int indent = 0;
    for (const QString &line : terms) {
        const qsizetype equals = line.indexOf(QStringLiteral(" = "));
        if (equals > 0 && !line.at(0).isSpace()) {
            ++defined;
            indent = int(equals) + 3;
        } else {
            QVERIFY2(indent > 0 && line.size() > indent && line.left(indent).trimmed().isEmpty(),
                     qPrintable(line));
        }
    }
    QVERIFY(defined >= 2);
    const QString glossary = terms.join(QLatin1Char('\n'));
    for (const char *kind : {"CMX = ", "SKN = "})
        QVERIFY2(glossary.contains(QLatin1String(kind)), kind);

    // The example: what the player has, as bullets, then the steps numbered
    // from 1 without a gap.
    const QString steps = QLatin1Char('\n') + body(example).join(QLatin1Char('\n'));
    QVERIFY(steps.count(QStringLiteral("\n*")) >= 2);
    qsizetype last = steps.lastIndexOf(QStringLiteral("\n*"));
    int step = 0;
    for (qsizetype found; (found = steps.indexOf(QStringLiteral("\n %1. ").arg(step + 1))) >= 0;
         ++step) {
        QVERIFY2(found > last, qPrintable(QString::number(step + 1)));
        last = found;
    }
    QVERIFY(step >= 2);
    QVERIFY(!steps.contains(QStringLiteral("\n %1. ").arg(step + 1)));
}

void TestHelp::helpTextTabsOnlyWhereAllowed()
{
    const QStringList lines = helpLines();
    const QList<int> at = headingLines(lines);
    const int example = at.value(at.size() - 2);
    const int firstMark = lines.indexOf(QStringLiteral("    ***"));
    const int secondMark = lines.indexOf(QStringLiteral("    ***"), firstMark + 1);
    // The files the game needs are listed between two marks in the example.
    QVERIFY(firstMark > example && secondMark < at.constLast());
    QVERIFY(secondMark > firstMark + 1);

    // Past the opening lines of tabs (the empty line, the sentence and the
    // empty line before the first heading).
    for (int i = at.value(0) - 3; i < lines.size(); ++i) {
        const bool inFileList = i > firstMark && i < secondMark;
        QCOMPARE(lines[i].startsWith(QLatin1Char('\t')), inFileList);
        QCOMPARE(lines[i].count(QLatin1Char('\t')), inFileList ? 1 : 0);
    }
    const QString email = lines.mid(at.constLast() + 3).join(QLatin1Char(' '));
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

    // Every line fits the box's width in the bundled caption font: none is
    // wrapped. A caption font of the system's, chosen before it, measures
    // otherwise.
    if (QFontInfo(txtHelp->font()).family() != QStringLiteral("DejaVu Sans"))
        return;
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    const QTextDocument *document = txtHelp->document();
    QCOMPARE(document->blockCount(), helpLines().size() + 1);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.layout());
        QVERIFY2(block.layout()->lineCount() <= 1, qPrintable(block.text()));
    }
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
    // The strong captions are the captions in bold; the title stands well above them.
    QCOMPARE(strongFont().pointSizeF(), captionFont().pointSizeF());
    QVERIFY(captionFont().pointSizeF() > 0);
    QVERIFY(titleFont().pointSizeF() >= 2 * captionFont().pointSizeF());

    const QImage picture = backgroundPicture();
    QVERIFY(!picture.isNull());
    QVERIFY(!picture.hasAlphaChannel());
    QCOMPARE(appIcon().pixmap(32, 32).size(), QSize(32, 32));
    QVERIFY(appIcon().availableSizes().contains(QSize(32, 32)));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
