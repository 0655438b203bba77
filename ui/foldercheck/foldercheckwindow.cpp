#include "ui/foldercheck/foldercheckwindow.h"

#include "base/messagetext.h"
#include "controls/commandbutton.h"
#include "controls/modalwindow.h"
#include "controls/widgetcolours.h"
#include "controls/windowplacement.h"
#include "foldercheck/foldercheck.h"
#include "ui/look/look.h"
#include "ui/look/palette.h"
#include "ui/look/twips.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>

namespace kelvane {

namespace {

constexpr int kFindingRole = Qt::UserRole;

QPushButton *button(const QString &caption, const char *name, const TwipsRect &place,
                    QWidget *window)
{
    return facedButton(caption, QLatin1String(name), pixelsFromTwips(place), strongFont(),
                       colours::buttonFace, window);
}

// Black on white, as the main window's lists are, so that every style draws
// the check boxes legibly.
void setListColours(QWidget &widget)
{
    setColours(widget, {{QPalette::Base, colours::white},
                        {QPalette::Text, colours::black},
                        {QPalette::Window, colours::white},
                        {QPalette::WindowText, colours::black},
                        {QPalette::Button, colours::buttonFace},
                        {QPalette::ButtonText, colours::black}});
}

QString shownPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(path));
}

} // namespace

FolderCheckWindow::FolderCheckWindow(const QString &folder, const QStringList &gameFolders,
                                     TextureConverter convert, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_folder(folder), m_gameFolders(gameFolders), m_convert(std::move(convert)),
      m_heading(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_list(new QTreeWidget(this)), m_detail(new QLabel(this)), m_done(new QPlainTextEdit(this)),
      m_mend(button(QStringLiteral("&Mend Selected"), "cmdMend", {5460, 5460, 1920, 345}, this)),
      m_cancel(button(QStringLiteral("Cancel"), "cmdCancel", {7560, 5460, 1335, 345}, this)),
      m_close(button(QStringLiteral("&Close"), "cmdClose", {7560, 5460, 1335, 345}, this))
{
    setObjectName(QStringLiteral("FolderCheck"));
    setWindowTitle(QStringLiteral("Folder Check"));
    setWindowIcon(appIcon());
    setFixedSize(pixelsFromTwips(9135), pixelsFromTwips(6000));
    setColours(*this, {{QPalette::Window, colours::navy}});
    setAutoFillBackground(true);

    m_heading->setObjectName(QStringLiteral("lblFolder"));
    m_heading->setGeometry(pixelsFromTwips(TwipsRect{240, 120, 8655, 255}));
    m_heading->setFont(captionFont());
    m_heading->setTextFormat(Qt::PlainText);
    m_heading->setText(QStringLiteral("Checking %1\u2026").arg(shownPath(folder)));
    setColours(*m_heading, {{QPalette::WindowText, colours::white}});

    m_progress->setObjectName(QStringLiteral("prgCheck"));
    m_progress->setAccessibleName(QStringLiteral("Files checked"));
    m_progress->setGeometry(pixelsFromTwips(TwipsRect{240, 420, 8655, 255}));
    m_progress->setFont(captionFont());
    m_progress->setRange(0, 0);
    // The styles draw its text beside the bar, on the navy, unseen.
    m_progress->setTextVisible(false);

    m_list->setObjectName(QStringLiteral("lstFindings"));
    m_list->setAccessibleName(QStringLiteral("Findings by file"));
    m_list->setGeometry(pixelsFromTwips(TwipsRect{240, 780, 8655, 2880}));
    m_list->setFont(captionFont());
    m_list->setHeaderHidden(true);
    m_list->setWordWrap(true);
    m_list->setUniformRowHeights(false);
    m_list->setEnabled(false);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->header()->setSectionResizeMode(QHeaderView::Stretch);
    setListColours(*m_list);

    // The whole of the finding chosen, which the list may cut short.
    m_detail->setObjectName(QStringLiteral("lblDetail"));
    m_detail->setGeometry(pixelsFromTwips(TwipsRect{240, 3720, 8655, 600}));
    m_detail->setFont(captionFont());
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->setWordWrap(true);
    m_detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setColours(*m_detail, {{QPalette::WindowText, colours::white}});
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        m_detail->setText(item && item->parent() ? item->text(0) : QString());
    });

    m_done->setObjectName(QStringLiteral("txtDone"));
    m_done->setAccessibleName(QStringLiteral("What was done"));
    m_done->setGeometry(pixelsFromTwips(TwipsRect{240, 4380, 8655, 960}));
    m_done->setFont(captionFont());
    m_done->setReadOnly(true);
    m_done->setPlaceholderText(QStringLiteral("What Mend Selected does is listed here."));
    setListColours(*m_done);

    m_mend->setEnabled(false);
    m_close->hide();
    m_cancel->setDefault(true);
    setTabOrder(m_list, m_done);
    setTabOrder(m_done, m_mend);
    setTabOrder(m_mend, m_cancel);
    setTabOrder(m_cancel, m_close);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_mend, &QPushButton::clicked, this, &FolderCheckWindow::mendSelected);
    connect(m_list, &QTreeWidget::itemChanged, this, &FolderCheckWindow::updateMendButton);

    run(
        [this] {
            FolderCheckRequest request{m_folder, m_gameFolders, {}, {}, {}};
            // One step of the bar in a thousand, however many files there are.
            request.progress = [this, shown = qsizetype(-1)](qsizetype done,
                                                             qsizetype total) mutable {
                const qsizetype step = total > 0 ? done * 1000 / total : 0;
                if (step == shown)
                    return;
                shown = step;
                QMetaObject::invokeMethod(
                    this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
            };
            request.cancelled = [this] { return m_cancelled.load(); };
            m_report = checkFolder(request);
        },
        &FolderCheckWindow::showReport);
    m_cancel->setFocus();
}

FolderCheckWindow::~FolderCheckWindow()
{
    m_cancelled = true;
    if (m_worker)
        m_worker->wait();
}

void FolderCheckWindow::reject()
{
    m_cancelled = true;
    if (m_worker)
        m_worker->wait();
    QDialog::reject();
}

void FolderCheckWindow::run(std::function<void()> work, void (FolderCheckWindow::*done)())
{
    m_worker = QThread::create(std::move(work));
    connect(m_worker, &QThread::finished, this, [this, done] {
        m_worker->deleteLater();
        m_worker = nullptr;
        (this->*done)();
    });
    m_worker->start();
}

void FolderCheckWindow::showProgress(qsizetype done, qsizetype total)
{
    if (!m_worker)
        return;
    m_progress->setRange(0, int(qMax<qsizetype>(total, 1)));
    m_progress->setValue(int(done));
}

void FolderCheckWindow::showReport()
{
    m_progress->setRange(0, 1);
    m_progress->setValue(1);
    m_cancel->hide();
    m_close->show();
    m_close->setDefault(true);
    m_heading->setText(QStringLiteral("%1%2: %3 files checked, %4 findings.")
                           .arg(m_report.cancelled ? QStringLiteral("Cancelled. ") : QString(),
                                shownPath(m_folder))
                           .arg(m_report.filesChecked)
                           .arg(m_report.findings.size()));
    // Filled without a signal per box ticked.
    m_list->blockSignals(true);
    QTreeWidgetItem *file = nullptr;
    for (qsizetype at = 0; at < m_report.findings.size(); ++at) {
        const Finding &finding = m_report.findings[at];
        if (!file || file->data(0, kFindingRole).toString() != finding.path) {
            file = new QTreeWidgetItem(m_list);
            QString title = shownPath(QDir(m_folder).relativeFilePath(finding.path));
            if (const QStringList tones = m_report.tones.value(finding.path); !tones.isEmpty())
                title += QStringLiteral(" (tones: %1)").arg(tones.join(QStringLiteral(", ")));
            file->setText(0, title);
            file->setData(0, kFindingRole, finding.path);
            file->setFlags(Qt::ItemIsEnabled);
            file->setExpanded(true);
        }
        auto *row = new QTreeWidgetItem(file);
        QString text = finding.text;
        if (!finding.mend.text.isEmpty())
            text +=
                (finding.mendable() ? QStringLiteral(" Mend: ") : QStringLiteral(" No mend: ")) +
                finding.mend.text;
        row->setText(0, text);
        row->setToolTip(0, text);
        row->setData(0, kFindingRole, qlonglong(at));
        if (finding.mendable()) {
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            row->setCheckState(0, finding.mendedByDefault() ? Qt::Checked : Qt::Unchecked);
        } else {
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
    }
    m_list->blockSignals(false);
    m_list->expandAll();
    m_list->setEnabled(true);
    if (QTreeWidgetItem *first = m_list->topLevelItem(0))
        m_list->setCurrentItem(first->child(0));
    m_list->setFocus();
    updateMendButton();
    emit checked();
}

void FolderCheckWindow::updateMendButton()
{
    bool any = false;
    for (QTreeWidgetItemIterator it(m_list, QTreeWidgetItemIterator::Checked); *it; ++it)
        any = true;
    m_mend->setEnabled(any && !m_worker);
}

void FolderCheckWindow::mendSelected()
{
    m_mending.clear();
    m_mendingItems.clear();
    for (QTreeWidgetItemIterator it(m_list, QTreeWidgetItemIterator::Checked); *it; ++it) {
        m_mending.append(m_report.findings.value((*it)->data(0, kFindingRole).toLongLong()));
        m_mendingItems.append(*it);
    }
    if (m_mending.isEmpty())
        return;
    m_mend->setEnabled(false);
    m_list->setEnabled(false);
    m_done->setPlainText(QStringLiteral("Mending\u2026"));
    run([this] { m_outcomes = applyMends(m_mending, m_report, m_convert); },
        &FolderCheckWindow::showMended);
}

void FolderCheckWindow::showMended()
{
    QStringList lines;
    for (const MendOutcome &outcome : std::as_const(m_outcomes)) {
        for (const QString &line : outcome.lines)
            lines.append(shownName(QFileInfo(outcome.path).fileName()) + QStringLiteral(": ") +
                         line);
    }
    m_done->setPlainText(lines.join(u'\n'));
    // A mend done is done once; one refused may be tried again.
    const QSignalBlocker quiet(m_list);
    for (qsizetype at = 0; at < m_mendingItems.size(); ++at) {
        const bool done =
            std::any_of(m_outcomes.cbegin(), m_outcomes.cend(), [&](const MendOutcome &outcome) {
                return outcome.done && outcome.path == m_mending[at].path;
            });
        if (done) {
            QTreeWidgetItem *row = m_mendingItems[at];
            row->setData(0, Qt::CheckStateRole, QVariant());
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            row->setText(0, QStringLiteral("Mended: ") + row->text(0));
        }
    }
    m_list->setEnabled(true);
    updateMendButton();
    m_close->setFocus();
    emit mended();
}

void showFolderCheckWindow(QWidget *parent, const QString &folder, const QStringList &gameFolders,
                           const TextureConverter &convert)
{
    FolderCheckWindow window(folder, gameFolders, convert, parent);
    if (parent)
        centreOverOwner(window, *parent->window());
    showModal(window);
}

} // namespace kelvane
