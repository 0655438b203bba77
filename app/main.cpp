#include "controls/archivefolder.h"
#include "platform/gamesearch.h"
#include "ui/look/look.h"
#include "ui/main/mainwindow.h"
#include "ui/main/startfolders.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstring>

namespace {

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kelvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
}

void describeArguments(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Attach a mesh to a character file of The Sims."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SKINS_FOLDER"),
                                 QStringLiteral("Folder (or FAR archive) the character files are "
                                                "listed from."),
                                 QStringLiteral("[SKINS_FOLDER"));
    parser.addPositionalArgument(
        QStringLiteral("MESH_FOLDER"),
        QStringLiteral("Folder (or FAR archive) the mesh files are listed from (SKINS_FOLDER "
                       "when not given)."),
        QStringLiteral("[MESH_FOLDER]]"));
}

// Help and version are only printed: they need no display.
bool asksOnlyForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameTheProgram();
        QCommandLineParser parser;
        describeArguments(parser);
        parser.process(app);
        return 0;
    }

    QApplication app(argc, argv);
    nameTheProgram();
    QApplication::setDesktopFileName(QStringLiteral("org.kelvane.Kelvane"));
    QCommandLineParser parser;
    describeArguments(parser);
    parser.process(app);

    QApplication::setWindowIcon(kelvane::appIcon());
    kelvane::registerBundledFonts();

    // The one search for the game's folders, begun before the window is
    // built; the windows take what it finds when it ends.
    kelvane::GameSearch &games = kelvane::GameSearch::shared();
    games.setCharacterFolder(kelvane::characterFolderOf);
    games.start();

    kelvane::MainWindow window(kelvane::browsableDrives, games);
    for (const QString &message :
         kelvane::openStartFolders(window.controller(), parser.positionalArguments()))
        std::fprintf(stderr, "kelvane: %s\n", qUtf8Printable(message));
    // The window centres itself as it is first shown.
    window.show();
    return app.exec();
}
