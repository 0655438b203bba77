#include "cli/commandline.h"
#include "cli/consoleoutput.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    kelvane::StandardOutput console;
    return kelvane::runAttachCommand(QCoreApplication::arguments(), console);
}
