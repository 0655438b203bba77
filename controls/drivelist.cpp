#include "controls/drivelist.h"

#include "controls/fill.h"

#include "controls/focusframe.h"
#include "formats/fileformats.h"
#include "platform/systempaths.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <qdrawutil.h>

#include <algorithm>
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

// The role of a game entry's two short lines, which the closed box shows in
// place of its text.
constexpr int kShortLabelRole = Qt::UserRole;

// A game entry's short lines: which copy of the game ("CD", "Steam", "EA
// app", a second copy's folder name), then "Skins" for its skins folder or
// "archive" for the folder in its archives. Empty for other entries.
QStringList shortLinesOf(const QString &driveText)
{
    if (!gameEntryFolder(driveText))
        return {};
    const qsizetype colon = driveText.indexOf(QStringLiteral(": "));
    const bool inArchive =
        driveText.indexOf(formatFor(FileRole::Archive, Encoding::Binary).extension, colon,
                          Qt::CaseInsensitive) >= 0;
    return {gameEntryCopy(driveText),
            inArchive ? QStringLiteral("archive") : QStringLiteral("Skins")};
}

// The lines of text, one or two, and the pixel size of font at which they
// fit in field: the largest size, the lines on one row or on two, that is no
// larger than the font's own and still readable.
struct FittedLines {
    QStringList rows;
    int pixelSize = 0;
};

FittedLines fitLines(const QStringList &lines, const QFont &font, const QRect &field)
{
    const int ownSize = qMax(1, QFontInfo(font).pixelSize());
    const auto fits = [&](const QStringList &rows, int size) {
        QFont sized = font;
        sized.setPixelSize(size);
        const QFontMetrics metrics(sized);
        if (metrics.height() * rows.size() > field.height() + 2)
            return false;
        return std::all_of(rows.cbegin(), rows.cend(), [&](const QString &row) {
            return metrics.horizontalAdvance(row) <= field.width() - 2;
        });
    };
    constexpr int kSmallest = 7;
    const QStringList oneRow{lines.join(QLatin1Char(' '))};
    for (int size = ownSize; size >= kSmallest; --size) {
        if (fits(oneRow, size))
            return {oneRow, size};
        if (lines.size() > 1 && fits(lines, size))
            return {lines, size};
    }
    // Too wide at any readable size (a long folder name): the rows as large
    // as their height allows, elided.
    for (int size = ownSize; size > kSmallest; --size) {
        QFont sized = font;
        sized.setPixelSize(size);
        if (QFontMetrics(sized).height() * lines.size() <= field.height() + 2)
            return {lines, size};
    }
    return {lines, kSmallest};
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
        painter.setClipRect(field);
        if (const QStringList lines = currentData(kShortLabelRole).toStringList();
            !lines.isEmpty()) {
            drawFitted(painter, field, fitLines(lines, font(), field));
            return;
        }
        const QString text = option.currentText;
        const QString shown = fontMetrics().elidedText(text, Qt::ElideRight, field.width() - 4);
        const QString root = rootPart(text);
        style()->drawItemText(&painter, field, Qt::AlignLeft | Qt::AlignVCenter, colours,
                              isEnabled(), shown.size() > root.size() ? shown : root,
                              QPalette::Text);
    }

private:
    static constexpr int kButtonWidth = 16;

    // A game's short lines in the box's own font, each row centred in its
    // share of the field's height; what still does not fit is elided.
    void drawFitted(QPainter &painter, const QRect &field, const FittedLines &fitted) const
    {
        QFont sized = font();
        sized.setPixelSize(fitted.pixelSize);
        painter.setFont(sized);
        const QFontMetrics metrics(sized);
        const int rows = int(fitted.rows.size());
        for (int row = 0; row < rows; ++row) {
            const int top = field.top() + field.height() * row / rows;
            const QRect where(field.left(), top, field.width(),
                              field.top() + field.height() * (row + 1) / rows - top);
            style()->drawItemText(
                &painter, where, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                metrics.elidedText(fitted.rows[row], Qt::ElideRight, where.width() - 2),
                QPalette::Text);
        }
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

void DriveList::listDrivesAgain()
{
    if (m_source() != m_shownDrives)
        reloadDrives();
}

void DriveList::showGameEntryFor(const QString &folder)
{
    const int index = indexOfDrive(folder);
    if (index < 0 || index == m_shownIndex || !gameEntryFolder(m_box->itemText(index)))
        return;
    const QSignalBlocker blocker(m_box);
    m_box->setCurrentIndex(index);
    m_shownIndex = index;
    m_box->setToolTip(m_box->currentText());
}

void DriveList::openingList()
{
    reloadDrives();
}

void DriveList::reloadDrives()
{
    const QString current = m_box->currentText();
    const QSignalBlocker blocker(m_box);
    m_box->clear();
    m_shownDrives = m_source();
    QStringList listed = m_shownDrives;
    // The drive shown stays, and stays chosen, even when no longer given:
    // listing never moves a side to another drive.
    if (!current.isEmpty() && !listed.contains(current))
        listed.append(current);
    m_box->addItems(listed);
    // The whole entry, however much of it the box shows.
    for (int i = 0; i < m_box->count(); ++i) {
        m_box->setItemData(i, m_box->itemText(i), Qt::ToolTipRole);
        m_box->setItemData(i, shortLinesOf(m_box->itemText(i)), kShortLabelRole);
    }
    m_box->setCurrentIndex(current.isEmpty() ? -1 : m_box->findText(current));
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
