#include "DiskFaults.h"

#include "report/OutputFile.h"

#include <sys/resource.h>

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
