#include "ui/look/look.h"
#include "ui/main/mainwindow.h"
#include "version.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.kelvane.Kelvane"));
    QApplication::setWindowIcon(kelvane::appIcon());
    kelvane::registerBundledFonts();

    kelvane::MainWindow window;
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return app.exec();
}
