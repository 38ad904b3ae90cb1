#include "QltProcess.h"

#include <QProcess>

QltProcessRun runQltProcess(const QStringList& arguments, const QString& folder, const QltChild& child)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    if (child.setUp) {
#ifdef Q_OS_UNIX
        process.setChildProcessModifier(child.setUp);
#else
        qFatal("a step in the child before qlt starts needs POSIX");
#endif
    }
    if (!child.inputFile.isEmpty())
        process.setStandardInputFile(child.inputFile);
    process.start(QStringLiteral(QLT_EXECUTABLE), arguments);
    if (child.inputFile.isEmpty()) {
        process.write(child.input);
        process.closeWriteChannel();
    }
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}
