#include "ui/main/restorewindow.h"

#include "base/messagetext.h"
#include "controls/commandbutton.h"
#include "controls/modalwindow.h"
#include "controls/widgetcolours.h"
#include "controls/windowplacement.h"
#include "replace/backup.h"
#include "replace/outputfile.h"
#include "ui/look/look.h"
#include "ui/look/palette.h"
#include "ui/look/twips.h"
#include "ui/main/backgroundtooltips.h"
#include "ui/main/backupsummaries.h"
#include "ui/main/restorecommand.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace kelvane {

namespace {

enum Column { Saved, Size, Skins, Name, Columns };

QPushButton *button(const QString &caption, const char *name, const TwipsRect &place,
                    QWidget *window)
{
    return facedButton(caption, QLatin1String(name), pixelsFromTwips(place), strongFont(),
                       colours::buttonFace, window);
}

// Draws the chosen backup as with the focus while a question covers the
// window: the native Windows styles draw it in a faint grey otherwise.
class SelectionInSightDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state |= QStyle::State_Active;
    }
};

// A row of the list: the backup's time, size, skins and name. Its skins and
// its tooltip, which lists them, follow when the backup has been read.
QTreeWidgetItem *rowFor(const BackupFile &backup, const QString &path)
{
    auto *row = new QTreeWidgetItem;
    row->setText(Saved, shownTime(backup.modified));
    row->setText(Size,
                 QLocale().formattedDataSize(backup.size, 1, QLocale::DataSizeTraditionalFormat));
    row->setText(Skins, QStringLiteral("\u2026"));
    row->setText(Name, shownBackupName(backup.path, path));
    for (const Column right : {Size, Skins})
        row->setTextAlignment(right, Qt::AlignRight | Qt::AlignVCenter);
    const QString tip =
        plainToolTip(QStringLiteral("Reading %1\u2026").arg(QFileInfo(backup.path).fileName()));
    for (int column = 0; column < Columns; ++column)
        row->setToolTip(column, tip);
    return row;
}

// The row that puts the game's own character back, across every column.
QTreeWidgetItem *gameOwnRow(const GameCharacter &character)
{
    auto *row = new QTreeWidgetItem;
    row->setText(Saved, gameOwnTitle(character));
    row->setToolTip(Saved, plainToolTip(QStringLiteral("%1 inside %2")
                                            .arg(character.entry,
                                                 QDir::toNativeSeparators(character.archive))));
    return row;
}

} // namespace

RestoreWindow::RestoreWindow(const QString &path, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_path(path), m_heading(new QLabel(this)), m_list(new QTreeWidget(this)),
      m_restore(button(QStringLiteral("&Restore"), "cmdRestore", {5280, 2940, 1335, 345}, this))
{
    setObjectName(QStringLiteral("Restore"));
    setWindowTitle(QStringLiteral("Restore Previous Version"));
    setWindowIcon(appIcon());
    setFixedSize(pixelsFromTwips(8400), pixelsFromTwips(3480));
    setColours(*this, {{QPalette::Window, colours::navy}});
    setAutoFillBackground(true);

    const QString name = shownName(QFileInfo(path).fileName());
    m_heading->setObjectName(QStringLiteral("lblBackups"));
    m_heading->setGeometry(pixelsFromTwips(TwipsRect{240, 120, 7920, 255}));
    m_heading->setFont(captionFont());
    m_heading->setTextFormat(Qt::PlainText);
    m_heading->setText(QStringLiteral("Earlier versions of %1, newest first:").arg(name));
    setColours(*m_heading, {{QPalette::WindowText, colours::white}});

    m_list->setObjectName(QStringLiteral("lstBackups"));
    m_list->setAccessibleName(QStringLiteral("Earlier versions of %1").arg(name));
    m_list->setGeometry(pixelsFromTwips(TwipsRect{240, 420, 7920, 2340}));
    m_list->setFont(captionFont());
    m_list->setColumnCount(Columns);
    m_list->setHeaderLabels({QStringLiteral("Saved"), QStringLiteral("Size"),
                             QStringLiteral("Skins"), QStringLiteral("Kept as")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    // The ends of a backup's name tell it apart: its number and its kind.
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (const Column right : {Size, Skins})
        m_list->headerItem()->setTextAlignment(right, Qt::AlignRight | Qt::AlignVCenter);
    for (const auto &[column, twips] : {std::pair{Saved, 1995}, {Size, 900}, {Skins, 690}})
        m_list->setColumnWidth(column, pixelsFromTwips(twips));
    setColours(*m_list, {{QPalette::Base, colours::navy},
                         {QPalette::Text, colours::white},
                         {QPalette::Button, colours::navy},
                         {QPalette::ButtonText, colours::white},
                         {QPalette::Window, colours::navy},
                         {QPalette::WindowText, colours::white}});
    // The native Windows style paints the header's face itself, light, and
    // would take the list's white for its text.
    setColours(*m_list->header(), {{QPalette::Button, colours::buttonFace},
                                   {QPalette::ButtonText, colours::black},
                                   {QPalette::Window, colours::buttonFace},
                                   {QPalette::WindowText, colours::black}});
    // The selection stays as visible when the buttons have the focus.
    QPalette palette = m_list->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    m_list->setPalette(palette);
    m_list->setItemDelegate(new SelectionInSightDelegate(m_list));

    QPushButton *close = button(QStringLiteral("Close"), "cmdClose", {6825, 2940, 1335, 345}, this);
    // Enter restores wherever the focus is but on Close; the list passes it on.
    m_restore->setDefault(true);
    connect(m_restore, &QPushButton::clicked, this, &RestoreWindow::restoreSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &RestoreWindow::restoreSelected);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_restore->setEnabled(!m_list->selectedItems().isEmpty()); });

    listBackups();
    m_list->setFocus();
}

RestoreWindow::~RestoreWindow() = default;

void RestoreWindow::listBackups(const QString &selectPath)
{
    // An interrupted replace's old content is listed as the backup it becomes.
    settleLeftoversOf(m_path);
    m_backups = backupsOf(m_path);
    m_gameOwn = gameCharacterReplacedBy(m_path);
    m_list->clear();
    if (m_gameOwn) {
        m_list->addTopLevelItem(gameOwnRow(*m_gameOwn));
        m_list->topLevelItem(0)->setFirstColumnSpanned(true);
    }
    QStringList paths;
    for (const BackupFile &backup : std::as_const(m_backups))
        paths.append(backup.path);
    m_summaries = std::make_unique<BackupSummaries>(paths);
    // What an earlier reading still sends is of the list before this one.
    connect(m_summaries.get(), &BackupSummaries::summarized, this,
            [this, listing = ++m_listings](const QString &path, int skins, const QString &tip) {
                if (listing == m_listings)
                    showSummary(path, skins, tip);
            });
    m_summaries->start();
    int selected = 0;
    for (qsizetype at = 0; at < m_backups.size(); ++at) {
        m_list->addTopLevelItem(rowFor(m_backups[at], m_path));
        if (m_backups[at].path == selectPath)
            selected = int(at) + firstBackupRow();
    }
    if (QTreeWidgetItem *row = m_list->topLevelItem(selected))
        m_list->setCurrentItem(row);
    m_restore->setEnabled(m_list->topLevelItemCount() > 0);
}

void RestoreWindow::showSummary(const QString &path, int skins, const QString &toolTip)
{
    for (qsizetype at = 0; at < m_backups.size(); ++at) {
        QTreeWidgetItem *row = m_list->topLevelItem(int(at) + firstBackupRow());
        if (m_backups[at].path != path || !row)
            continue;
        row->setText(Skins, skins < 0 ? QStringLiteral("?") : QString::number(skins));
        for (int column = 0; column < Columns; ++column)
            row->setToolTip(column, toolTip);
    }
}

void RestoreWindow::restoreSelected()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem()) - firstBackupRow();
    if (row == -1 && m_gameOwn) {
        const QString keptAs = putBackPathFor(m_path);
        if (runPutBackCommand(this, m_path, *m_gameOwn))
            m_restored = true;
        // The loose file, now a backup, is listed to be put back in turn.
        listBackups(keptAs);
        return;
    }
    if (row < 0 || row >= m_backups.size())
        return;
    const BackupFile backup = m_backups[row];
    if (runRestoreCommand(this, m_path, backup))
        m_restored = true;
    // A backup kept, or one gone meanwhile, shows either way.
    listBackups(backup.path);
}

bool showRestoreWindow(QWidget *parent, const QString &path)
{
    RestoreWindow window(path, parent);
    if (parent)
        centreOverOwner(window, *parent->window());
    showModal(window);
    return window.restored();
}

} // namespace kelvane
