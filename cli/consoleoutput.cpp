#include "cli/consoleoutput.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <qt_windows.h>
#endif

namespace kelvane {

namespace {

#ifdef Q_OS_WIN
// A console shows text in a code page of its own that lacks most letters: it
// gets the text as it is.
bool printedToConsole(FILE *stream, const QString &line)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode))
        return false;
    DWORD written = 0;
    return WriteConsoleW(handle, line.utf16(), DWORD(line.size()), &written, nullptr) != 0;
}
#endif

void printTo(FILE *stream, const QString &text)
{
    const QString line = text + QLatin1Char('\n');
#ifdef Q_OS_WIN
    if (printedToConsole(stream, line))
        return;
#endif
    // UTF-8 holds every letter, which Windows' local code page does not.
    std::fputs(line.toUtf8().constData(), stream);
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
