#include "model/InputFile.h"

#include "model/SystemErrorText.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {
HANDLE systemHandle(const QFile& file)
{
    return file.handle() < 0 ? INVALID_HANDLE_VALUE : HANDLE(::_get_osfhandle(file.handle()));
}

// The system's own devices: CON, NUL, COM1 and the like in any folder, and the names under \\.\,
// named pipes among them; their full path is in the device space.
bool isDeviceName(const QString& native)
{
    wchar_t full[MAX_PATH];
    const DWORD length =
        ::GetFullPathNameW(reinterpret_cast<const wchar_t*>(native.utf16()), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH && QStringView(full, qsizetype(length)).startsWith(u"\\\\.\\");
}

qint64 sizeOf(const BY_HANDLE_FILE_INFORMATION& information)
{
    return qint64(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
}

void keepChangeTime(const BY_HANDLE_FILE_INFORMATION& information, qint64 (&changed)[2])
{
    changed[0] = information.ftLastWriteTime.dwHighDateTime;
    changed[1] = information.ftLastWriteTime.dwLowDateTime;
}
} // namespace

bool InputFile::open(const QString& path, QString& reason)
{
    // Others may go on reading and writing the file; a change shows in unchanged(). Folders open
    // only with backup semantics, so that they are told apart from a refused permission.
    const QString native = QDir::toNativeSeparators(path);
    if (isDeviceName(native)) { // opening some would take a pipe's end or wait on a port
        reason = notRegularFileText();
        return false;
    }
    clearSystemError();
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // A named pipe without a free end is a pipe all the same.
        const int error = lastSystemError(EIO);
        reason = error == ENXIO ? notRegularFileText() : systemErrorText(error);
        return false;
    }
    // The C library's descriptor in binary mode: its text mode would end the file at a Ctrl-Z byte.
    const int descriptor = ::_open_osfhandle(intptr_t(handle), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        reason = systemErrorText(EMFILE);
        return false;
    }
    file_.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    // A console (CON), the null device (NUL), a serial port or a named pipe is no file to read.
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        reason = notRegularFileText();
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!::GetFileInformationByHandle(handle, &information)) {
        reason = systemErrorText(lastSystemError(EIO));
        return false;
    }
    if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        reason = systemErrorText(EISDIR);
        return false;
    }
    size_ = sizeOf(information);
    keepChangeTime(information, changed_);
    return true;
}

bool InputFile::unchanged() const
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!::GetFileInformationByHandle(systemHandle(file_), &information))
        return false;
    qint64 changed[2];
    keepChangeTime(information, changed);
    return sizeOf(information) == size_ && changed[0] == changed_[0] && changed[1] == changed_[1];
}

StreamSource streamSource(const QFile& stream)
{
    const HANDLE handle = systemHandle(stream);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    switch (::GetFileType(handle)) {
    case FILE_TYPE_DISK: {
        BY_HANDLE_FILE_INFORMATION information;
        if (!::GetFileInformationByHandle(handle, &information))
            return {};
        if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return {StreamSource::Kind::Folder};
        return {StreamSource::Kind::OrdinaryFile, sizeOf(information)};
    }
    case FILE_TYPE_CHAR: {
        DWORD mode = 0; // only a console answers for its mode
        return ::GetConsoleMode(handle, &mode) ? StreamSource{} : StreamSource{StreamSource::Kind::Device};
    }
    default:
        return {};
    }
}
