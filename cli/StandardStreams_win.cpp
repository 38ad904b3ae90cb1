#include "StandardStreams.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {
UINT consoleCodePage = 0;

void restoreConsoleCodePage()
{
    ::SetConsoleOutputCP(consoleCodePage);
}
} // namespace

void openStandardStreams(QFile& in, QFile& out, QFile& err)
{
    // Text mode would end a data file at its first Ctrl-Z byte (a Thai letter in UTF-16 holds one)
    // and write every line end of a report as CR CR LF. Messages keep text mode: CR LF suits a console.
    ::_setmode(_fileno(stdin), _O_BINARY);
    ::_setmode(_fileno(stdout), _O_BINARY);
    // Messages and help are UTF-8; the console shows them so while qlt runs, and as before after it.
    consoleCodePage = ::GetConsoleOutputCP();
    if (consoleCodePage != 0 && consoleCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
        std::atexit(restoreConsoleCodePage);
    in.open(_fileno(stdin), QIODevice::ReadOnly);
    out.open(_fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(_fileno(stderr), QIODevice::WriteOnly | QIODevice::Unbuffered);
}
