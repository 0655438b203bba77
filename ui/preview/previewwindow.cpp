#include "ui/preview/previewwindow.h"

#include "base/messagetext.h"
#include "controls/commandbutton.h"
#include "controls/modalwindow.h"
#include "controls/widgetcolours.h"
#include "controls/windowplacement.h"
#include "game/charactercode.h"
#include "platform/gamefolders.h"
#include "platform/gamesearch.h"
#include "preview/previewscene.h"
#include "ui/look/look.h"
#include "ui/look/palette.h"
#include "ui/look/twips.h"
#include "ui/preview/noteslabel.h"
#include "ui/preview/previewpicture.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QPromise>
#include <QPushButton>
#include <QSignalBlocker>
#include <QThreadPool>

#include <memory>

namespace kelvane {

namespace {

// A scene read, and what may be put with its character when that was asked.
struct Loaded {
    Result<PreviewScene> scene;
    std::optional<QStringList> companions;
};
using LoadedScene = std::shared_ptr<const Loaded>;

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

QComboBox *choice(const char *name, const TwipsRect &place, QLabel *caption, QWidget *window)
{
    auto *box = new QComboBox(window);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(pixelsFromTwips(place));
    box->setFont(captionFont());
    caption->setBuddy(box);
    return box;
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
      m_characterPath(characterPath), m_meshPath(meshPath), m_picture(new PreviewPicture(this)),
      m_toneCaption(
          caption(QStringLiteral("Skin &tone:"), "lblTone", {240, 7365, 1050, 255}, this)),
      m_tones(choice("cboTone", {1320, 7320, 1500, 345}, m_toneCaption, this)),
      m_textureCaption(
          caption(QStringLiteral("Te&xture:"), "lblTexture", {2940, 7365, 900, 255}, this)),
      m_textures(choice("cboTexture", {3840, 7320, 2400, 345}, m_textureCaption, this)),
      m_withCaption(caption(QStringLiteral("&With:"), "lblWith", {240, 7830, 1050, 255}, this)),
      m_with(choice("cboWith", {1320, 7785, 3465, 345}, m_withCaption, this)),
      m_notes(new NotesLabel(this))
{
    setObjectName(QStringLiteral("Preview"));
    setWindowTitle(QStringLiteral("Preview"));
    setWindowIcon(appIcon());
    setFixedSize(pixelsFromTwips(6480), pixelsFromTwips(8280));
    setColours(*this, {{QPalette::Window, colours::navy}});
    setAutoFillBackground(true);

    caption(heading(characterPath, meshPath), "lblHeading", {240, 120, 6000, 255}, this);

    const QString howTo =
        QStringLiteral("Drag or use the arrow keys to turn; Home shows the front");
    m_picture->setObjectName(QStringLiteral("picPreview"));
    m_picture->setGeometry(pixelsFromTwips(TwipsRect{240, 420, 6000, 5640}));
    m_picture->setMessage(QStringLiteral("Reading…"));
    m_picture->setToolTip(howTo + QLatin1Char('.'));
    caption(howTo + QLatin1Char('.'), "lblHowTo", {240, 6120, 6000, 255}, this);

    m_notes->setObjectName(QStringLiteral("lblNotes"));
    m_notes->setGeometry(pixelsFromTwips(TwipsRect{240, 6420, 6000, 780}));
    m_notes->setFont(captionFont());
    setColours(*m_notes, {{QPalette::WindowText, colours::white}});

    for (QWidget *hidden :
         std::initializer_list<QWidget *>{m_toneCaption, m_tones, m_textureCaption, m_textures})
        hidden->hide();
    m_with->addItem(QStringLiteral("Nothing"), QString());
    m_with->setToolTip(QStringLiteral("A body for a head, or a head for a body, of the same "
                                      "age and sex, found beside the character file and in "
                                      "the games found."));
    connect(m_tones, &QComboBox::currentIndexChanged, this, [this] {
        m_picture->setTone(m_tones->currentData().toString());
        showTextures();
    });
    connect(m_textures, &QComboBox::currentIndexChanged, this,
            [this] { m_picture->setLabel(m_textures->currentData().toString()); });
    connect(m_with, &QComboBox::currentIndexChanged, this,
            [this] { startLoading(m_with->currentData().toString(), false); });

    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setGeometry(pixelsFromTwips(TwipsRect{4905, 7785, 1335, 345}));
    close->setFont(strongFont());
    setColours(*close, {{QPalette::Button, colours::buttonFace}});
    showPaletteFace(*close);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_picture, m_tones);
    setTabOrder(m_tones, m_textures);
    setTabOrder(m_textures, m_with);
    setTabOrder(m_with, close);
    m_picture->setFocus();

    // The games the window's own search found, as the create command takes them.
    for (const GameFolder &game : GameSearch::shared().games())
        m_gameFolders.append(game.folder);
    startLoading({}, true);
}

// The labels of the tone shown, the one shown before kept where it is offered.
void PreviewWindow::showTextures()
{
    const QString tone = m_tones->currentData().toString();
    const QString shown = m_textures->currentData().toString();
    const QSignalBlocker quiet(m_textures);
    m_textures->clear();
    if (m_scene) {
        for (const QString &label : m_scene->labels(tone))
            m_textures->addItem(label.isEmpty() ? QStringLiteral("(plain)") : label, label);
    }
    int index = m_textures->findData(shown);
    if (index < 0)
        index = m_textures->findData(m_scene ? m_scene->defaultLabel(tone) : QString());
    m_textures->setCurrentIndex(std::max(index, 0));
    m_textureCaption->setVisible(m_textures->count() > 0);
    m_textures->setVisible(m_textures->count() > 0);
    m_picture->setLabel(m_textures->currentData().toString());
}

void PreviewWindow::startLoading(const QString &withPath, bool listCompanions)
{
    // The watcher dies with the window, so a scene read after it closed is
    // dropped; the pool finishes the reading before the program ends. Only
    // the latest reading is shown.
    m_loading = true;
    const int generation = ++m_generation;
    auto promise = std::make_shared<QPromise<LoadedScene>>();
    auto *watcher = new QFutureWatcher<LoadedScene>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation != m_generation)
            return;
        m_loading = false;
        const LoadedScene loaded =
            watcher->future().resultCount() == 1 ? watcher->future().result() : LoadedScene();
        if (loaded && loaded->companions) {
            const QSignalBlocker quiet(m_with);
            for (const QString &path : *loaded->companions)
                m_with->addItem(shownName(QFileInfo(QDir::fromNativeSeparators(path)).fileName()),
                                path);
        }
        if (!loaded) {
            m_picture->setMessage(QStringLiteral("The preview could not be made."));
        } else if (!loaded->scene.ok()) {
            m_scene.reset();
            m_picture->setScene({});
            m_picture->setMessage(loaded->scene.error());
            m_notes->setNotes({});
        } else {
            m_scene = std::make_shared<const PreviewScene>(loaded->scene.value());
            const QString tone = m_tones->currentData().toString();
            {
                const QSignalBlocker quiet(m_tones);
                m_tones->clear();
                for (const QString &each : m_scene->tones())
                    m_tones->addItem(toneName(each), each);
                m_tones->setCurrentIndex(std::max(m_tones->findData(tone), 0));
            }
            m_toneCaption->setVisible(m_tones->count() > 0);
            m_tones->setVisible(m_tones->count() > 0);
            m_picture->setTone(m_tones->currentData().toString());
            showTextures();
            m_picture->setScene(m_scene);
            m_notes->setNotes(notesOf(*m_scene));
        }
        emit loadFinished();
    });
    watcher->setFuture(promise->future());
    PreviewRequest request{m_characterPath, m_meshPath, m_gameFolders, {}};
    if (!withPath.isEmpty())
        request.withPaths.append(withPath);
    QThreadPool::globalInstance()->start([promise, request, listCompanions] {
        promise->start();
        auto loaded = std::make_shared<Loaded>(Loaded{loadPreviewScene(request), std::nullopt});
        if (listCompanions)
            loaded->companions = charactersGoingWith(request.characterPath, request.gameFolders);
        promise->addResult(LoadedScene(std::move(loaded)));
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
