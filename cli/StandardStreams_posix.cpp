#include "StandardStreams.h"

#include <QFile>

#include <unistd.h>

void openStandardStreams(QFile& in, QFile& out, QFile& err)
{
    in.open(STDIN_FILENO, QIODevice::ReadOnly);
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
}
