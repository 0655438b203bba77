#include "ui/preview/previewwindow.h"

#include "compose/messagetext.h"
#include "controls/commandbutton.h"
#include "controls/modalwindow.h"
#include "controls/widgetcolours.h"
#include "controls/windowplacement.h"
#include "platform/gamefolders.h"
#include "platform/gamesearch.h"
#include "preview/previewscene.h"
#include "ui/look/look.h"
#include "ui/look/palette.h"
#include "ui/look/twips.h"
#include "ui/preview/noteslabel.h"
#include "ui/preview/previewpicture.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QPromise>
#include <QPushButton>
#include <QThreadPool>

#include <memory>

namespace kelvane {

namespace {

using LoadedScene = std::shared_ptr<const Result<PreviewScene>>;

QLabel *caption(const QString &text, const char *name, const TwipsRect &place, QWidget *window)
{
    auto *label = new QLabel(text, window);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(pixelsFromTwips(place));
    label->setFont(captionFont());
    label->setTextFormat(Qt::PlainText);
    setColours(*label, {{QPalette::WindowText, colours::white}});
    return label;
}

// The player's word for a tone of the character's texture.
QString toneName(const QString &tone)
{
    if (tone == QLatin1String("lgt"))
        return QStringLiteral("Light");
    if (tone == QLatin1String("med"))
        return QStringLiteral("Medium");
    if (tone == QLatin1String("drk"))
        return QStringLiteral("Dark");
    return tone;
}

QString heading(const QString &characterPath, const QString &meshPath)
{
    const QString character = shownName(QFileInfo(characterPath).fileName());
    if (meshPath.isEmpty())
        return character;
    return QStringLiteral("%1 wearing %2")
        .arg(character, shownName(QFileInfo(meshPath).fileName()));
}

QString notesOf(const PreviewScene &scene)
{
    if (scene.notes().isEmpty())
        return QStringLiteral("Every mesh and texture was found.");
    return scene.notes().join(QLatin1Char('\n'));
}

} // namespace

PreviewWindow::PreviewWindow(const QString &characterPath, const QString &meshPath, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_picture(new PreviewPicture(this)),
      m_toneCaption(
          caption(QStringLiteral("Skin &tone:"), "lblTone", {240, 7485, 1050, 255}, this)),
      m_tones(new QComboBox(this)), m_notes(new NotesLabel(this))
{
    setObjectName(QStringLiteral("Preview"));
    setWindowTitle(QStringLiteral("Preview"));
    setWindowIcon(appIcon());
    setFixedSize(pixelsFromTwips(6480), pixelsFromTwips(7950));
    setColours(*this, {{QPalette::Window, colours::navy}});
    setAutoFillBackground(true);

    caption(heading(characterPath, meshPath), "lblHeading", {240, 120, 6000, 255}, this);

    m_picture->setObjectName(QStringLiteral("picPreview"));
    m_picture->setGeometry(pixelsFromTwips(TwipsRect{240, 420, 6000, 6000}));
    m_picture->setMessage(QStringLiteral("Reading…"));

    m_notes->setObjectName(QStringLiteral("lblNotes"));
    m_notes->setGeometry(pixelsFromTwips(TwipsRect{240, 6540, 6000, 780}));
    m_notes->setFont(captionFont());
    setColours(*m_notes, {{QPalette::WindowText, colours::white}});

    m_tones->setObjectName(QStringLiteral("cboTone"));
    m_tones->setGeometry(pixelsFromTwips(TwipsRect{1320, 7440, 1500, 345}));
    m_tones->setFont(captionFont());
    m_toneCaption->setBuddy(m_tones);
    m_toneCaption->hide();
    m_tones->hide();
    connect(m_tones, &QComboBox::currentIndexChanged, this,
            [this] { m_picture->setTone(m_tones->currentData().toString()); });

    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setGeometry(pixelsFromTwips(TwipsRect{4905, 7440, 1335, 345}));
    close->setFont(strongFont());
    setColours(*close, {{QPalette::Button, colours::buttonFace}});
    showPaletteFace(*close);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_picture, m_tones);
    setTabOrder(m_tones, close);
    m_picture->setFocus();

    startLoading(characterPath, meshPath);
}

void PreviewWindow::startLoading(const QString &characterPath, const QString &meshPath)
{
    // The watcher dies with the window, so a scene read after it closed is
    // dropped; the pool finishes the reading before the program ends.
    auto promise = std::make_shared<QPromise<LoadedScene>>();
    auto *watcher = new QFutureWatcher<LoadedScene>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        m_loading = false;
        const LoadedScene loaded =
            watcher->future().resultCount() == 1 ? watcher->future().result() : LoadedScene();
        if (!loaded) {
            m_picture->setMessage(QStringLiteral("The preview could not be made."));
        } else if (!loaded->ok()) {
            m_picture->setMessage(loaded->error());
        } else {
            const auto scene = std::make_shared<const PreviewScene>(loaded->value());
            for (const QString &tone : scene->tones())
                m_tones->addItem(toneName(tone), tone);
            m_toneCaption->setVisible(m_tones->count() > 0);
            m_tones->setVisible(m_tones->count() > 0);
            m_picture->setTone(m_tones->currentData().toString());
            m_picture->setScene(scene);
            m_notes->setNotes(notesOf(*scene));
        }
        emit loadFinished();
    });
    watcher->setFuture(promise->future());
    // The games the window's own search found, as the create command takes them.
    PreviewRequest request{characterPath, meshPath, {}};
    for (const GameFolder &game : GameSearch::shared().games())
        request.gameFolders.append(game.folder);
    QThreadPool::globalInstance()->start([promise, request] {
        promise->start();
        promise->addResult(std::make_shared<const Result<PreviewScene>>(loadPreviewScene(request)));
        promise->finish();
    });
}

void showPreviewWindow(QWidget *parent, const QString &characterPath, const QString &meshPath)
{
    PreviewWindow window(characterPath, meshPath, parent);
    if (parent)
        centreOverOwner(window, *parent->window());
    showModal(window);
}

} // namespace kelvane
