#include "cli/commandline.h"
#include "cli/consoleoutput.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    // A closed pipe on standard output is a failed write, reported as such,
    // with the other files still done; not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    kelvane::StandardOutput console;
    return kelvane::runAttachCommand(QCoreApplication::arguments(), console);
}
