#include "controls/drivelist.h"

#include "controls/fill.h"

#include "platform/systempaths.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace kelvane {

namespace {

// Re-reads the drives each time the user opens the list, so that a volume
// mounted after start can be chosen.
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
        QComboBox::showPopup();
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

    reloadDrives();
    m_shownIndex = indexOfDrive(startDriveFolder());
    m_box->setCurrentIndex(m_shownIndex < 0 ? 0 : m_shownIndex);
    m_shownIndex = m_box->currentIndex();
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
    int index = m_box->findText(current);
    if (index < 0)
        index = indexOfDrive(driveRoot(current));
    m_box->setCurrentIndex(index);
    m_shownIndex = m_box->currentIndex();
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
    if (index == m_shownIndex)
        return;
    m_shownIndex = index;
    emit changed();
}

} // namespace kelvane
