#include "report/CheckedDevice.h"

#include "model/SystemErrorText.h"

#include <cerrno>

CheckedDevice::CheckedDevice(QIODevice& target) : target_(target)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 CheckedDevice::writeData(const char* data, qint64 size)
{
    if (errorNumber_)
        return -1;
    clearSystemError();
    if (target_.write(data, size) == size)
        return size;
    errorNumber_ = lastSystemError(EIO); // a device that fails without a reason is treated as broken
    return -1;
}
