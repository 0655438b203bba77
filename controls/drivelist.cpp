#include "controls/drivelist.h"

#include "controls/fill.h"

#include "controls/archivefolder.h"
#include "controls/focusframe.h"
#include "platform/gamesearch.h"
#include "platform/systempaths.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <qdrawutil.h>

#include <utility>

namespace kelvane {

namespace {

// The text before an optional " [label]": the part of a drive's text that
// must always show.
QString rootPart(const QString &driveText)
{
    const qsizetype labelStart = driveText.indexOf(QStringLiteral(" ["));
    return labelStart < 0 ? driveText : driveText.left(labelStart);
}

// The role of an entry's short label, which the closed box shows in place of
// its text.
constexpr int kShortLabelRole = Qt::UserRole;

// A game entry's short label: the game without "The ", and "Skins" for its
// skins folder or "archive" for the folder in its archives ("Sims (Steam):
// Skins"). Empty for other entries.
QString shortLabelOf(const QString &driveText)
{
    if (!gameEntryFolder(driveText))
        return {};
    const qsizetype colon = driveText.indexOf(QStringLiteral(": "));
    QString game = driveText.left(colon);
    if (game.startsWith(QStringLiteral("The ")))
        game.remove(0, 4);
    const bool inArchive =
        driveText.indexOf(QStringLiteral(".far"), colon, Qt::CaseInsensitive) >= 0;
    return game + (inArchive ? QStringLiteral(": archive") : QStringLiteral(": Skins"));
}

// Re-reads the drives each time the user opens the list, so that a volume
// mounted after start can be chosen. The closed box shows as much of a long
// entry (or its short label) as fits, ending in an ellipsis; the open list is
// as wide as its widest entry, within the window.
class DriveBox final : public QComboBox
{
public:
    DriveBox(std::function<void()> beforePopup, QWidget *parent)
        : QComboBox(parent), m_beforePopup(std::move(beforePopup))
    {
    }

    void showPopup() override
    {
        m_beforePopup();
        int widest = 0;
        for (int i = 0; i < count(); ++i)
            widest = qMax(widest, view()->sizeHintForIndex(model()->index(i, 0)).width());
        const int margins = 2 * view()->frameWidth() + 8;
        // From the box's left edge to the window's right one, in a window of
        // more than the drive list; a wider entry is elided.
        const bool inWindow = !parentWidget()->isWindow();
        const int room =
            inWindow ? window()->width() - mapTo(window(), QPoint(0, 0)).x() : QWIDGETSIZE_MAX;
        view()->setMinimumWidth(qMax(width(), qMin(widest + margins, room)));
        // The open list in the box's colours, its chosen entry inverted. Every
        // role is set, so that none is taken from the style's menu colours.
        const QColor back = palette().color(QPalette::Button);
        const QColor text = palette().color(QPalette::ButtonText);
        QPalette listColours;
        for (const QPalette::ColorRole role :
             {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
            listColours.setColor(role, back);
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Highlight})
            listColours.setColor(role, text);
        listColours.setColor(QPalette::HighlightedText, back);
        view()->parentWidget()->setPalette(listColours);
        view()->setPalette(listColours);
        QComboBox::showPopup();
        if (inWindow)
            keepInsideWindow(*view()->parentWidget());
    }

    // The style may widen or move the list: it is kept inside the window.
    void keepInsideWindow(QWidget &popup) const
    {
        const QRect inside = window()->geometry();
        QRect placed = popup.geometry();
        if (placed.width() > inside.width())
            placed.setWidth(qMax(width(), inside.width()));
        if (placed.right() > inside.right())
            placed.moveRight(qMax(inside.right(), mapToGlobal(QPoint(width() - 1, 0)).x()));
        if (placed.left() < inside.left())
            placed.moveLeft(qMin(inside.left(), mapToGlobal(QPoint(0, 0)).x()));
        popup.setGeometry(placed);
    }

protected:
    // A flat face in the palette's button colour, edged a shade darker, with a
    // raised drop-down button at the right; the text starts just inside the edge.
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QPalette &colours = palette();
        const QColor face = colours.color(QPalette::Button);
        painter.fillRect(rect(), face);
        painter.setPen(face.darker(160));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));

        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QRect button(width() - 1 - kButtonWidth, 1, kButtonWidth, height() - 2);
        drawDropDownButton(painter, option, button);

        const QRect field = rect().adjusted(4, 1, -1 - kButtonWidth, -1);
        const QString label = currentData(kShortLabelRole).toString();
        painter.setClipRect(field);
        if (!label.isEmpty() && fontMetrics().horizontalAdvance(label) > field.width() - 4) {
            drawTwoLines(painter, field, label);
            return;
        }
        const QString text = label.isEmpty() ? option.currentText : label;
        const QString shown = fontMetrics().elidedText(text, Qt::ElideRight, field.width() - 4);
        const QString root = label.isEmpty() ? rootPart(text) : QString();
        style()->drawItemText(&painter, field, Qt::AlignLeft | Qt::AlignVCenter, colours,
                              isEnabled(), shown.size() > root.size() ? shown : root,
                              QPalette::Text);
    }

private:
    static constexpr int kButtonWidth = 16;

    // A game's label too wide for the box, in two small lines: the edition
    // ("Sims", "Steam", "EA app") over the place ("Skins", "archive").
    void drawTwoLines(QPainter &painter, const QRect &field, const QString &label) const
    {
        const qsizetype colon = label.indexOf(QStringLiteral(": "));
        QString edition = label.left(colon);
        if (const qsizetype open = edition.indexOf(u'('); open >= 0)
            edition = edition.mid(open + 1).chopped(1);
        const QString place = label.mid(colon + 2);
        QFont small = font();
        small.setPixelSize(qMax(7, field.height() / 2));
        painter.setFont(small);
        const QFontMetrics metrics(small);
        const QRect top(field.left(), field.top(), field.width(), field.height() / 2);
        const QRect bottom(field.left(), top.bottom() + 1, field.width(),
                           field.height() - top.height());
        for (const auto &[line, where] : {std::pair(edition, top), std::pair(place, bottom)})
            style()->drawItemText(
                &painter, where, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                metrics.elidedText(line, Qt::ElideRight, where.width() - 2), QPalette::Text);
    }

    void drawDropDownButton(QPainter &painter, const QStyleOptionComboBox &option,
                            const QRect &button) const
    {
        const QPalette &colours = option.palette;
        if (option.state & QStyle::State_Sunken) {
            painter.setPen(colours.color(QPalette::Dark));
            painter.setBrush(colours.button());
            painter.drawRect(button.adjusted(0, 0, -1, -1));
        } else {
            // Raised: a light inner edge at the top left, dark and shadow at the bottom right.
            QPalette shades(colours);
            shades.setColor(QPalette::Button, colours.color(QPalette::Light));
            shades.setColor(QPalette::Light, colours.color(QPalette::Button));
            qDrawWinButton(&painter, button, shades, false, &colours.button());
        }
        QStyleOption arrow(option);
        arrow.rect = button.adjusted(3, 3, -3, -3);
        arrow.state &= QStyle::State_Enabled | QStyle::State_HasFocus | QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    }

    std::function<void()> m_beforePopup;
};

bool isOnRoot(const QString &path, const QString &root)
{
    if (!path.startsWith(root, pathCaseSensitivity()))
        return false;
    return path.size() == root.size() || root.endsWith(pathSeparator()) ||
           path.mid(root.size(), 1) == pathSeparator();
}

} // namespace

DriveList::DriveList(DriveSource source, QWidget *parent)
    : QWidget(parent), m_source(std::move(source)),
      m_box(new DriveBox([this] { openingList(); }, this))
{
    fillWith(*this, *m_box, InnerFocus::Forwarded);
    new FocusFrame(*m_box, QPalette::ButtonText);

    // The game folders join the list when the search, off this thread, ends.
    GameSearch &games = GameSearch::shared();
    games.setCharacterFolder(characterFolderOf);
    connect(&games, &GameSearch::finished, this, [this] {
        if (m_source() != m_shownDrives)
            reloadDrives();
    });
    games.start();

    reloadDrives();
    m_shownIndex = indexOfDrive(startDriveFolder());
    m_box->setCurrentIndex(m_shownIndex < 0 ? 0 : m_shownIndex);
    m_shownIndex = m_box->currentIndex();
    m_box->setToolTip(m_box->currentText());
    connect(m_box, &QComboBox::currentIndexChanged, this, &DriveList::followSelection);
    // Choosing the entry shown opens it again, as a fresh start in that folder.
    // A new entry chosen has been followed just before.
    connect(m_box, &QComboBox::activated, this, [this](int index) {
        if (std::exchange(m_choiceFollowed, -1) != index && index == m_shownIndex)
            emit changed();
    });
}

QString DriveList::drive() const
{
    return m_box->currentText();
}

void DriveList::setDrive(const QString &text)
{
    const int index = indexOfDrive(text);
    if (index >= 0)
        m_box->setCurrentIndex(index);
    m_choiceFollowed = -1;
}

void DriveList::openingList()
{
    reloadDrives();
    // A game installed meanwhile joins the open list when the search ends.
    GameSearch::shared().start();
}

void DriveList::reloadDrives()
{
    const QString current = m_box->currentText();
    const QSignalBlocker blocker(m_box);
    m_box->clear();
    m_shownDrives = m_source();
    m_box->addItems(m_shownDrives);
    // The whole entry, however much of it the box shows.
    for (int i = 0; i < m_box->count(); ++i) {
        m_box->setItemData(i, m_box->itemText(i), Qt::ToolTipRole);
        m_box->setItemData(i, shortLabelOf(m_box->itemText(i)), kShortLabelRole);
    }
    int index = m_box->findText(current);
    if (index < 0)
        index = indexOfDrive(driveRoot(current));
    m_box->setCurrentIndex(index);
    m_shownIndex = m_box->currentIndex();
    m_box->setToolTip(m_box->currentText());
}

int DriveList::indexOfDrive(const QString &text) const
{
    const int exact = m_box->findText(text);
    if (exact >= 0)
        return exact;
    // The drive with the longest root holding the path wins. On equal roots the
    // later one does: the volumes follow the Wine letters, and a path outside
    // the prefix belongs to "/" rather than to z:.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < m_box->count(); ++i) {
        // A game's folder is chosen for that folder only; below it, as
        // anywhere else, the drive that holds the path is shown.
        if (const std::optional<QString> game = gameEntryFolder(m_box->itemText(i))) {
            if (QDir::cleanPath(text).compare(QDir::cleanPath(*game), pathCaseSensitivity()) == 0)
                return i;
            continue;
        }
        const QString root = driveRoot(m_box->itemText(i));
        if (!root.isEmpty() && root.size() >= bestLength && isOnRoot(text, root)) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

void DriveList::followSelection(int index)
{
    m_box->setToolTip(m_box->currentText());
    if (index == m_shownIndex)
        return;
    m_shownIndex = index;
    m_choiceFollowed = index;
    emit changed();
}

} // namespace kelvane
