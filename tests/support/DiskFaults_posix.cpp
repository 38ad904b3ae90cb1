#include "DiskFaults.h"

#include "report/OutputFile.h"

#include <QProcess>

#include <sys/resource.h>
#include <unistd.h>

bool FileSizeLimit::available()
{
    return true;
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    reportWriteLimitsAsErrors();
    rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    earlier_ = qint64(limit.rlim_cur);
    limit.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(earlier_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

QString alwaysFullDevice()
{
    return QStringLiteral("/dev/full");
}

SmallDisk::SmallDisk()
{
    mounted_ = ::geteuid() == 0 &&
               QProcess::execute(QStringLiteral("mount"),
                                 {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder_.path()}) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        QProcess::execute(QStringLiteral("umount"), {folder_.path()});
}

void SmallDisk::remountReadOnly()
{
    QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", folder_.path()});
}
