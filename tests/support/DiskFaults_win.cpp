#include "DiskFaults.h"

// Windows has no per-process file-size limit and no always-full device.

bool FileSizeLimit::available()
{
    return false;
}

FileSizeLimit::FileSizeLimit(qint64) {}

FileSizeLimit::~FileSizeLimit() = default;

QString alwaysFullDevice()
{
    return {};
}
