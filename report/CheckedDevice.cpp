#include "report/CheckedDevice.h"

#include <cerrno>

CheckedDevice::CheckedDevice(QIODevice& target) : target_(target)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 CheckedDevice::writeData(const char* data, qint64 size)
{
    if (errorNumber_)
        return -1;
    errno = 0;
    if (target_.write(data, size) == size)
        return size;
    errorNumber_ = errno ? errno : EIO; // a device that fails without a reason is treated as broken
    return -1;
}
