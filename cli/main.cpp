#include "QltCommand.h"
#include "report/OutputFile.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qlt"));
    reportWriteLimitsAsErrors();
    // Unbuffered, so that a report that cannot be written to standard output (a full disk, a closed
    // pipe) fails while qlt can still say so and exit with 1.
    QFile in, out, err;
    in.open(STDIN_FILENO, QIODevice::ReadOnly);
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return runQlt(QCoreApplication::arguments(), in, out, err);
}
