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

// What each control of the window is: its kind and font. Where the controls
// lie and how they look are checked as relations between them (columns,
// rows, labels by their controls), not as numbers copied from the window's
// own table, which builds them.
struct ControlRow {
    const char *name;
    Kind kind;
    Font font;
};

const QColor kTeal(0, 128, 128);

const ControlRow kTable[] = {
    {"lblTitle", Kind::Label, Font::Title},       {"cmdHelp", Kind::Button, Font::Strong},
    {"DrvSkins", Kind::Drive, Font::Default},     {"DrvProps", Kind::Drive, Font::Default},
    {"lblSkins", Kind::Label, Font::Caption},     {"lblProps", Kind::Label, Font::Caption},
    {"DirSkins", Kind::Directory, Font::Caption}, {"DirProps", Kind::Directory, Font::Caption},
    {"Label1", Kind::Label, Font::Caption},       {"Label2", Kind::Label, Font::Caption},
    {"FileSkins", Kind::Files, Font::Caption},    {"FileProps", Kind::Files, Font::Caption},
    {"lblInfo", Kind::Label, Font::Caption},      {"lblNewName", Kind::Label, Font::Strong},
    {"txtNewName", Kind::Text, Font::Strong},     {"cmdDoIt", Kind::Button, Font::Strong},
    {"lblSavedTo", Kind::Label, Font::Strong},    {"txtSavedTo", Kind::Text, Font::Strong},
};

// The two columns of the window, top to bottom, each label above the control
// it names.
const char *const kSkinsColumn[] = {"lblSkins",   "DirSkins",   "Label1",     "FileSkins",
                                    "lblNewName", "txtNewName", "lblSavedTo", "txtSavedTo"};
const char *const kMeshColumn[] = {"lblProps",  "DirProps", "Label2",
                                   "FileProps", "lblInfo",  "cmdDoIt"};
// Each label and the control beneath it that it names.
const std::pair<const char *, const char *> kLabelled[] = {
    {"lblSkins", "DirSkins"}, {"lblProps", "DirProps"},     {"Label1", "FileSkins"},
    {"Label2", "FileProps"},  {"lblNewName", "txtNewName"}, {"lblSavedTo", "txtSavedTo"}};
// Each drive list and the label whose row it sits at the right end of.
const std::pair<const char *, const char *> kDriveOnLabel[] = {{"DrvSkins", "lblSkins"},
                                                               {"DrvProps", "lblProps"}};

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

// Whether text of one colour reads on the other.
bool contrasts(QColor text, QColor ground)
{
    return qAbs(text.lightness() - ground.lightness()) >= 96;
}

// A label and the control it names may touch by a pixel, where rounding the
// window's units meets; a drive list sits on its label's row.
bool mayOverlap(const char *a, const char *b)
{
    const auto pairs = [&](const auto &list) {
        return std::any_of(std::begin(list), std::end(list), [&](const auto &pair) {
            return (qstrcmp(pair.first, a) == 0 && qstrcmp(pair.second, b) == 0) ||
                   (qstrcmp(pair.first, b) == 0 && qstrcmp(pair.second, a) == 0);
        });
    };
    return pairs(kLabelled) || pairs(kDriveOnLabel);
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
    void controlsLieInsideApartAndInColumns();
    void labelsSitByTheirControls();
    void textColoursReadOnTheirGround();
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
    QCOMPARE(m_window->size(), m_window->minimumSize());
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_window->windowType(), Qt::Window); // keeps its own taskbar button
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->palette().color(QPalette::Window), QColor(64, 64, 64));
    QCOMPARE(m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(),
             qsizetype(std::size(kTable)));
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

    QVERIFY(!widget->geometry().isEmpty());

    const QFont expected = expectedFont(entry.font);
    QCOMPARE(QFontInfo(widget->font()).family(), QFontInfo(expected).family());
    QCOMPARE(widget->font().pointSizeF(), expected.pointSizeF());
    QCOMPARE(widget->font().bold(), expected.bold());

    QCOMPARE(widget->isEnabled(), qstrcmp(entry.name, "cmdDoIt") != 0);
    QVERIFY(widget->isVisible());
}

void TestMainLayout::controlsLieInsideApartAndInColumns()
{
    for (const ControlRow &entry : kTable)
        QVERIFY2(m_window->rect().contains(control(entry.name)->geometry()), entry.name);
    for (const ControlRow &a : kTable) {
        for (const ControlRow &b : kTable) {
            const bool apart = !control(a.name)->geometry().intersects(control(b.name)->geometry());
            QVERIFY2(&a == &b || apart || mayOverlap(a.name, b.name),
                     qPrintable(QStringLiteral("%1 overlaps %2").arg(a.name, b.name)));
        }
    }

    // One margin: the title in the top left corner, as far from the left edge
    // as the right-most controls are from the right edge.
    const auto end = [this](const char *name) {
        const QRect place = control(name)->geometry();
        return place.left() + place.width();
    };
    const QRect title = control("lblTitle")->geometry();
    const int margin = title.left();
    QVERIFY(margin > 0);
    QCOMPARE(title.top(), margin);
    const int right = m_window->width() - margin;
    for (const char *name : {"cmdHelp", "DrvProps", "txtSavedTo"})
        QVERIFY2(end(name) == right, name);

    // Each column top to bottom, a control beginning at most a pixel above
    // where the one before it ends; the name column ends where its drive list
    // does, the mesh column at the right margin.
    const auto stacked = [this](const auto &column) {
        for (std::size_t i = 1; i < std::size(column); ++i) {
            const QRect above = control(column[i - 1])->geometry();
            const QRect below = control(column[i])->geometry();
            if (below.top() < above.top() + above.height() - 1)
                return false;
        }
        return true;
    };
    QVERIFY(stacked(kSkinsColumn));
    QVERIFY(stacked(kMeshColumn));
    const int meshLeft = control("lblProps")->x();
    QVERIFY(end("lblSkins") < meshLeft);
    for (const char *name : kSkinsColumn) {
        QVERIFY2(control(name)->x() == margin, name);
        // The folder's name box alone spans both columns.
        QVERIFY2(end(name) == (qstrcmp(name, "txtSavedTo") == 0 ? right : end("DrvSkins")), name);
    }
    for (const char *name : kMeshColumn) {
        // The message for the player lies within the column, the rest fill it.
        const bool inside = control(name)->x() >= meshLeft && end(name) <= right;
        const bool fills = control(name)->x() == meshLeft && end(name) == right;
        QVERIFY2(qstrcmp(name, "lblInfo") == 0 ? inside : fills, name);
    }

    // Rows: the pairs of labels, lists and drive lists line up; the create
    // button stands beside the new name; the title and Help above the rest.
    const auto rowOf = [this](const char *a, const char *b) {
        const QRect first = control(a)->geometry();
        const QRect second = control(b)->geometry();
        return first.top() == second.top() && first.height() == second.height();
    };
    for (const auto &[a, b] : {std::pair{"DrvSkins", "DrvProps"},
                               {"lblSkins", "lblProps"},
                               {"DirSkins", "DirProps"},
                               {"Label1", "Label2"},
                               {"FileSkins", "FileProps"}})
        QVERIFY2(rowOf(a, b), a);
    QCOMPARE(control("cmdDoIt")->y(), control("txtNewName")->y());
    for (const char *name : {"lblTitle", "cmdHelp"})
        QVERIFY2(control(name)->geometry().bottom() < control("DrvSkins")->y(), name);
    QVERIFY(control("cmdHelp")->x() > end("lblTitle"));
    // Below the last row, a margin and no room for another.
    const QRect last = control("txtSavedTo")->geometry();
    const int below = m_window->height() - (last.top() + last.height());
    QVERIFY(below >= margin && below < last.height());
}

void TestMainLayout::labelsSitByTheirControls()
{
    for (const auto &[label, named] : kLabelled) {
        const QRect caption = control(label)->geometry();
        const QRect place = control(named)->geometry();
        QVERIFY2(caption.left() == place.left(), label);
        QVERIFY2(caption.width() <= place.width(), label);
        QVERIFY2(qAbs(caption.top() + caption.height() - place.top()) <= 1, label);
    }
    // A drive list sits at the right end of its label's row, above the list
    // the label names.
    for (const auto &[drive, label] : kDriveOnLabel) {
        const QRect list = control(drive)->geometry();
        const QRect caption = control(label)->geometry();
        QVERIFY2(list.right() == caption.right(), drive);
        QVERIFY2(list.top() < caption.bottom() && list.bottom() > caption.top(), drive);
        const char *named =
            std::find_if(std::begin(kLabelled), std::end(kLabelled), [&](const auto &pair) {
                return qstrcmp(pair.first, label) == 0;
            })->second;
        QVERIFY2(list.bottom() < control(named)->y(), drive);
    }
}

void TestMainLayout::textColoursReadOnTheirGround()
{
    // Every caption but the message shares one colour that reads on the
    // window; the message stands apart from them.
    const QColor window = m_window->palette().color(QPalette::Window);
    const QColor caption = control("lblTitle")->palette().color(QPalette::WindowText);
    QVERIFY(contrasts(caption, window));
    for (const ControlRow &entry : kTable) {
        if (entry.kind != Kind::Label)
            continue;
        const QColor text = control(entry.name)->palette().color(QPalette::WindowText);
        QVERIFY2((text == caption) == (qstrcmp(entry.name, "lblInfo") != 0), entry.name);
    }
    // The folder lists' names read on their ground, and the drive lists' on
    // the colour they are drawn in.
    for (const char *name : {"DirSkins", "DirProps"}) {
        const QPalette palette = control(name)->palette();
        QVERIFY2(contrasts(palette.color(QPalette::Text), palette.color(QPalette::Base)), name);
    }
    const QImage shot = m_window->grab().toImage();
    for (const char *name : {"DrvSkins", "DrvProps"}) {
        const QColor drawn = shot.pixelColor(control(name)->geometry().center() - QPoint(10, 0));
        QVERIFY2(contrasts(control(name)->palette().color(QPalette::Text), drawn), name);
    }
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

    // The picture covers the whole window; between the title and the drive
    // lists only the picture shows, unscaled.
    QVERIFY(QRect(QPoint(), picture.size()).contains(m_window->rect()));
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
