#include "QltCommand.h"
#include "StandardStreams.h"
#include "report/OutputFile.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qlt"));
    reportWriteLimitsAsErrors();
    QFile in, out, err;
    openStandardStreams(in, out, err);
    return runQlt(QCoreApplication::arguments(), in, out, err);
}
