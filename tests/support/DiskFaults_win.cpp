#include "DiskFaults.h"

// Windows has no per-process file-size limit, no always-full device and no memory disk to mount.

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

SmallDisk::SmallDisk() = default;

SmallDisk::~SmallDisk() = default;

void SmallDisk::remountReadOnly() {}
