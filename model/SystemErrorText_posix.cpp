#include "model/SystemErrorText.h"

#include <cerrno>
#include <sys/stat.h>

void clearSystemError()
{
    errno = 0;
}

int lastSystemError(int fallback)
{
    return errno ? errno : fallback;
}

QString notOrdinaryFileText(unsigned mode)
{
    if (S_ISDIR(mode))
        return systemErrorText(EISDIR);
    return S_ISREG(mode) ? QString() : notRegularFileText();
}
