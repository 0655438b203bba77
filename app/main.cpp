#include "ui/look/look.h"
#include "ui/main/mainwindow.h"
#include "ui/main/startfolders.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.kelvane.Kelvane"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Attach a mesh to a character file of The Sims."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SKINS_FOLDER"),
                                 QStringLiteral("Folder the character files are listed from."),
                                 QStringLiteral("[SKINS_FOLDER"));
    parser.addPositionalArgument(
        QStringLiteral("MESH_FOLDER"),
        QStringLiteral("Folder the mesh files are listed from (SKINS_FOLDER when not given)."),
        QStringLiteral("[MESH_FOLDER]]"));
    parser.process(app);

    QApplication::setWindowIcon(kelvane::appIcon());
    kelvane::registerBundledFonts();

    kelvane::MainWindow window;
    for (const QString &message :
         kelvane::openStartFolders(window.controller(), parser.positionalArguments()))
        std::fprintf(stderr, "kelvane: %s\n", qUtf8Printable(message));
    // The window centres itself as it is first shown.
    window.show();
    return app.exec();
}
