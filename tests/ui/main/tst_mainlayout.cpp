#include "controls/commandbutton.h"
#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/label.h"
#include "controls/modalwindow.h"
#include "controls/textbox.h"
#include "ui/look/look.h"
#include "ui/main/maincontroltable.h"
#include "ui/main/mainwindow.h"
#include "version.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace kelvane;

namespace {

enum class Kind { Label, Button, Drive, Directory, Files, Text };
using Font = FontRole;

// What the window's controls must be: place and size in twips, font, text
// colour. Written out here rather than read from the window's own table, so
// that a wrong entry there shows.
struct ControlRow {
    const char *name;
    Kind kind;
    int left, top, width, height;
    Font font;
    QColor text;
};

const QColor kWhite(255, 255, 255);
const QColor kTeal(0, 128, 128);
const QColor kBlack(0, 0, 0);
const QColor kStandard; // the system's colour for that kind of control

const ControlRow kTable[] = {
    {"lblTitle", Kind::Label, 120, 120, 2775, 375, Font::Title, kWhite},
    {"cmdHelp", Kind::Button, 8160, 240, 255, 255, Font::Strong, kStandard},
    {"DrvSkins", Kind::Drive, 2880, 1200, 855, 315, Font::Default, kWhite},
    {"DrvProps", Kind::Drive, 7560, 1200, 855, 315, Font::Default, kWhite},
    {"lblSkins", Kind::Label, 120, 1320, 3615, 255, Font::Caption, kWhite},
    {"lblProps", Kind::Label, 3840, 1320, 4575, 255, Font::Caption, kWhite},
    {"DirSkins", Kind::Directory, 120, 1560, 3615, 1140, Font::Caption, kBlack},
    {"DirProps", Kind::Directory, 3840, 1560, 4575, 1140, Font::Caption, kBlack},
    {"Label1", Kind::Label, 120, 2880, 3615, 255, Font::Caption, kWhite},
    {"Label2", Kind::Label, 3840, 2880, 4575, 255, Font::Caption, kWhite},
    {"FileSkins", Kind::Files, 120, 3120, 3615, 1170, Font::Caption, kStandard},
    {"FileProps", Kind::Files, 3840, 3120, 4575, 1170, Font::Caption, kStandard},
    {"lblInfo", Kind::Label, 4320, 4320, 3615, 375, Font::Caption, kTeal},
    {"lblNewName", Kind::Label, 120, 4560, 3615, 255, Font::Strong, kWhite},
    {"txtNewName", Kind::Text, 120, 4800, 3615, 285, Font::Strong, kStandard},
    {"cmdDoIt", Kind::Button, 3840, 4800, 4575, 295, Font::Strong, kStandard},
    {"lblSavedTo", Kind::Label, 120, 5160, 3615, 255, Font::Strong, kWhite},
    {"txtSavedTo", Kind::Text, 120, 5400, 8295, 300, Font::Strong, kStandard},
};

bool isKind(QWidget *widget, Kind kind)
{
    switch (kind) {
    case Kind::Label:
        return qobject_cast<Label *>(widget);
    case Kind::Button:
        return qobject_cast<CommandButton *>(widget);
    case Kind::Drive:
        return qobject_cast<DriveList *>(widget);
    case Kind::Directory:
        return qobject_cast<DirectoryList *>(widget);
    case Kind::Files:
        return qobject_cast<FileList *>(widget);
    case Kind::Text:
        return qobject_cast<TextBox *>(widget);
    }
    return false;
}

QFont expectedFont(Font font)
{
    switch (font) {
    case Font::Caption:
        return captionFont();
    case Font::Strong:
        return strongFont();
    case Font::Title:
        return titleFont();
    case Font::Default:
        return QApplication::font();
    }
    return {};
}

// Whether the two rectangles share their centre, to the pixel.
bool centredOn(const QRect &inner, const QRect &outer)
{
    const QPoint offset = inner.center() - outer.center();
    return qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
}

bool near(QColor a, QColor b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestMainLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowSettings();
    void controlTable_data();
    void controlTable();
    void labelsLieBeneathTheDriveLists();
    void renderedColours();
    void screenReadersHearCaptionsNotObjectNames();
    void focusShowsOnEveryControlThatTakesIt();
    void helpKeyOpensHelpCentredOverMain();

private:
    QWidget *control(const char *name) const
    {
        return m_window->findChild<QWidget *>(QLatin1String(name));
    }

    std::unique_ptr<MainWindow> m_window;
};

void TestMainLayout::initTestCase()
{
    QVERIFY(registerBundledFonts());
}

void TestMainLayout::init()
{
    m_window = std::make_unique<MainWindow>([] { return QStringList{QStringLiteral("/")}; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainLayout::cleanup()
{
    m_window.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestMainLayout::windowSettings()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Main"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral(KELVANE_TITLE));
    QCOMPARE(m_window->size(), QSize(569, 396));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_window->windowType(), Qt::Window); // keeps its own taskbar button
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->palette().color(QPalette::Window), QColor(64, 64, 64));
    QCOMPARE(m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 18);
    QVERIFY(centredOn(m_window->frameGeometry(), m_window->screen()->availableGeometry()));
}

void TestMainLayout::controlTable_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(kTable)); ++row)
        QTest::newRow(kTable[row].name) << row;
}

void TestMainLayout::controlTable()
{
    QFETCH(int, row);
    const ControlRow &entry = kTable[row];
    // Each control is built from one row of the window's table.
    const auto built = mainControlTable();
    QCOMPARE(built.size(), std::size(kTable));
    QCOMPARE(
        std::count_if(built.begin(), built.end(),
                      [&](const MainControlRow &r) { return qstrcmp(r.name, entry.name) == 0; }),
        1);
    QWidget *widget = control(entry.name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), m_window.get());
    QVERIFY(isKind(widget, entry.kind));

    const int height = qRound(entry.height / 15.0);
    QCOMPARE(widget->geometry(), QRect(entry.left / 15, entry.top / 15, entry.width / 15, height));

    const QFont expected = expectedFont(entry.font);
    QCOMPARE(QFontInfo(widget->font()).family(), QFontInfo(expected).family());
    QCOMPARE(widget->font().pointSizeF(), expected.pointSizeF());
    QCOMPARE(widget->font().bold(), expected.bold());

    if (entry.text.isValid()) {
        const QPalette::ColorRole role =
            entry.kind == Kind::Label ? QPalette::WindowText : QPalette::Text;
        QCOMPARE(widget->palette().color(role), entry.text);
    }
    QCOMPARE(widget->isEnabled(), qstrcmp(entry.name, "cmdDoIt") != 0);
    QVERIFY(widget->isVisible());
}

void TestMainLayout::labelsLieBeneathTheDriveLists()
{
    const QList<QWidget *> order = m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    // Children paint in list order: every label before every other control.
    qsizetype lastLabel = -1;
    qsizetype firstOther = order.size();
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (qobject_cast<Label *>(order[i]))
            lastLabel = i;
        else
            firstOther = qMin(firstOther, i);
    }
    QVERIFY(lastLabel < firstOther);
}

void TestMainLayout::renderedColours()
{
    const QImage shot = m_window->grab().toImage();
    const QImage picture = backgroundPicture();

    // Between the title and the drive lists only the picture shows, unscaled.
    for (const QPoint point : {QPoint(300, 40), QPoint(560, 390), QPoint(2, 100)})
        QCOMPARE(shot.pixelColor(point), picture.pixelColor(point));

    // The skins drive list is teal, the mesh drive list blue.
    const QRect skinsDrive = control("DrvSkins")->geometry();
    QVERIFY(near(shot.pixelColor(skinsDrive.center() - QPoint(10, 0)), kTeal, 40));
    const QRect propsDrive = control("DrvProps")->geometry();
    QVERIFY(near(shot.pixelColor(propsDrive.center() - QPoint(10, 0)), QColor(0, 0, 192), 40));

    // lblInfo's text is drawn in teal.
    const QRect info = control("lblInfo")->geometry();
    int tealPixels = 0;
    for (int y = info.top(); y <= info.bottom(); ++y)
        for (int x = info.left(); x <= info.right(); ++x)
            tealPixels += near(shot.pixelColor(x, y), kTeal, 24) ? 1 : 0;
    QVERIFY2(tealPixels > 50, qPrintable(QString::number(tealPixels)));

    // The buttons show their palette's faces, whatever the style draws natively.
    const QRect create = control("cmdDoIt")->geometry();
    const QColor face = shot.pixelColor(create.left() + 6, create.center().y());
    QVERIFY2(near(face, QColor(192, 192, 192), 24), qPrintable(face.name()));

    // A list's selection stays highlighted when the list loses the focus.
    QWidget *folders = control("DirSkins");
    control("DirProps")->setFocus();
    QTRY_VERIFY(!folders->hasFocus());
    const auto *list = folders->findChild<QListView *>();
    const QRect selected = list->visualRect(list->currentIndex());
    const QImage shown = list->viewport()->grab(selected).toImage();
    QVERIFY(near(shown.pixelColor(shown.width() - 3, shown.height() / 2),
                 list->palette().color(QPalette::Active, QPalette::Highlight), 8));
}

void TestMainLayout::screenReadersHearCaptionsNotObjectNames()
{
    const auto spokenName = [](QWidget *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    for (const ControlRow &entry : kTable) {
        QWidget *widget = control(entry.name);
        // A label is read by its text, a control by the widget that takes the focus.
        QWidget *focused = entry.kind == Kind::Label ? widget->findChild<QLabel *>()
                           : widget->focusProxy()    ? widget->focusProxy()
                                                     : widget;
        QVERIFY2(!spokenName(focused).isEmpty(), entry.name);
        QVERIFY2(spokenName(focused) != QLatin1String(entry.name), entry.name);
    }
    QCOMPARE(spokenName(control("txtNewName")->focusProxy()),
             QStringLiteral("Name of new CMX file to be created"));
    QCOMPARE(spokenName(control("FileProps")->focusProxy()), QStringLiteral("Existing SKN files"));
}

void TestMainLayout::focusShowsOnEveryControlThatTakesIt()
{
    QApplication::setActiveWindow(m_window.get());
    QTRY_VERIFY(control("DirSkins")->focusProxy()->hasFocus());
    const char *const order[] = {"DirSkins", "DirProps", "FileSkins",  "FileProps", "txtNewName",
                                 "DrvProps", "DrvSkins", "txtSavedTo", "cmdHelp"};
    for (const char *name : order) {
        QWidget *focused = control(name);
        QVERIFY2(focused->focusProxy()->hasFocus(), name);
        const QImage withFocus = focused->grab().toImage();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(!focused->focusProxy()->hasFocus(), name);
        QVERIFY2(focused->grab().toImage() != withFocus, name);
    }
}

void TestMainLayout::helpKeyOpensHelpCentredOverMain()
{
    QStringList opened;
    QRect helpFrame;
    setModalHandler([&](QDialog &window) {
        opened.append(window.objectName());
        window.show();
        if (QTest::qWaitForWindowExposed(&window))
            helpFrame = window.frameGeometry();
        window.close();
    });
    QTest::keyClick(m_window.get(), Qt::Key_F1);
    setModalHandler({});
    QCOMPARE(opened, QStringList{QStringLiteral("Help")});
    QVERIFY(centredOn(helpFrame, m_window->frameGeometry()));
}

QTEST_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
