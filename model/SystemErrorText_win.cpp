#include "model/SystemErrorText.h"

#include <cerrno>
#include <windows.h>

namespace {
// The Windows error codes a teacher can meet when reading or writing a file, by the error number
// whose reason says the same.
int errorNumberOf(DWORD code)
{
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_TOO_LARGE:
        return EFBIG;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
        return EINVAL;
    case ERROR_CANT_RESOLVE_FILENAME:
        return ELOOP;
    case ERROR_NOT_READY: // a drive without its medium
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_IO_DEVICE:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
        return EIO;
    case ERROR_PIPE_BUSY:
    case ERROR_PIPE_NOT_CONNECTED:
        return ENXIO;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_SHARING_VIOLATION: // another program, often Word itself, holds the file open
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return EBUSY;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
        return EPIPE;
    default:
        return -int(code);
    }
}
} // namespace

// Files opened by name go through the system's calls, which leave their reason in GetLastError;
// standard input and output go through the C library, which sets errno as well.
void clearSystemError()
{
    ::SetLastError(ERROR_SUCCESS);
    errno = 0;
}

int lastSystemError(int fallback)
{
    if (const DWORD code = ::GetLastError(); code != ERROR_SUCCESS)
        return errorNumberOf(code);
    return errno ? errno : fallback;
}
