#include "cli/consoleoutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <qt_windows.h>
#endif

namespace kelvane {

namespace {

#ifdef Q_OS_WIN
// A console shows text in a code page of its own that lacks most letters: it
// gets the text as it is. Nothing when the stream is no console; otherwise
// whether the console took the text.
std::optional<bool> printedToConsole(FILE *stream, const QString &line)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode))
        return std::nullopt;
    DWORD written = 0;
    return WriteConsoleW(handle, line.utf16(), DWORD(line.size()), &written, nullptr) != 0 &&
           written == DWORD(line.size());
}
#endif

// Prints text and a line end; why it was lost, if it was.
std::optional<QString> printTo(FILE *stream, const QString &text)
{
    const QString line = text + QLatin1Char('\n');
#ifdef Q_OS_WIN
    if (const std::optional<bool> printed = printedToConsole(stream, line)) {
        if (*printed)
            return std::nullopt;
        return QStringLiteral("the console refused the text");
    }
#endif
    // UTF-8 holds every letter, which Windows' local code page does not.
    errno = 0;
    const bool written = std::fputs(line.toUtf8().constData(), stream) >= 0;
    if (std::fflush(stream) == 0 && written && !std::ferror(stream))
        return std::nullopt;
    return errno != 0 ? QString::fromLocal8Bit(std::strerror(errno))
                      : QStringLiteral("the stream is in error");
}

} // namespace

void StandardOutput::printLine(const QString &text)
{
    // The first loss is the one to report; the stream stays in error after it.
    if (std::optional<QString> lost = printTo(stdout, text); lost && !m_lost)
        m_lost = std::move(lost);
}

void StandardOutput::printError(const QString &text)
{
    // Where an error cannot be shown, nothing else can be either.
    (void)printTo(stderr, text);
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
