#include "cli/consoleoutput.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace kelvane {

namespace {

void printTo(FILE *stream, const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

void StandardOutput::printLine(const QString &text)
{
    printTo(stdout, text);
}

void StandardOutput::printError(const QString &text)
{
    printTo(stderr, text);
}

bool StandardOutput::writeBytes(const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) ==
               size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
}

} // namespace kelvane
