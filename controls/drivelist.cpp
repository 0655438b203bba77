#include "controls/drivelist.h"

#include "controls/fill.h"

#include "controls/focusframe.h"
#include "platform/systempaths.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QSignalBlocker>
#include <QStylePainter>

namespace kelvane {

namespace {

// The text before an optional " [label]": the part of a drive's text that
// must always show.
QString rootPart(const QString &driveText)
{
    const qsizetype labelStart = driveText.indexOf(QStringLiteral(" ["));
    return labelStart < 0 ? driveText : driveText.left(labelStart);
}

// Re-reads the drives each time the user opens the list, so that a volume
// mounted after start can be chosen. The closed box shows as much of a long
// entry as fits, ending in an ellipsis; the open list is as wide as its
// widest entry.
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
        view()->setMinimumWidth(qMax(width(), widest + margins));
        QComboBox::showPopup();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        const QString shown =
            fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width() - 4);
        const QString root = rootPart(option.currentText);
        option.currentText = shown.size() > root.size() ? shown : root;
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

private:
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
      m_box(new DriveBox([this] { reloadDrives(); }, this))
{
    fillWith(*this, *m_box, InnerFocus::Forwarded);
    new FocusFrame(*m_box, QPalette::ButtonText);

    reloadDrives();
    m_shownIndex = indexOfDrive(startDriveFolder());
    m_box->setCurrentIndex(m_shownIndex < 0 ? 0 : m_shownIndex);
    m_shownIndex = m_box->currentIndex();
    m_box->setToolTip(m_box->currentText());
    connect(m_box, &QComboBox::currentIndexChanged, this, &DriveList::followSelection);
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
}

void DriveList::reloadDrives()
{
    const QString current = m_box->currentText();
    const QSignalBlocker blocker(m_box);
    m_box->clear();
    m_box->addItems(m_source());
    // The whole entry, however much of it the box shows.
    for (int i = 0; i < m_box->count(); ++i)
        m_box->setItemData(i, m_box->itemText(i), Qt::ToolTipRole);
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
    emit changed();
}

} // namespace kelvane
