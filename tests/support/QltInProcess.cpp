#include "QltInProcess.h"

#include "cli/QltCommand.h"

#include <QBuffer>

QltRun runQltInProcess(const QStringList& arguments)
{
    QBuffer in, out, err;
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = runQlt(QStringList{QStringLiteral("qlt")} + arguments, in, out, err);
    return {status, QString::fromUtf8(err.data())};
}
