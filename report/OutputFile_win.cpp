#include "report/OutputFile.h"

#include "model/SystemErrorText.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

void reportWriteLimitsAsErrors()
{
    // A drive whose medium was taken out then fails the write instead of asking to insert it.
    ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

OutputFile::Target OutputFile::inspectTarget()
{
    const QString native = QDir::toNativeSeparators(path_);
    const auto* name = reinterpret_cast<const wchar_t*>(native.utf16());
    const DWORD attributes = ::GetFileAttributesW(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        failWithErrno(EISDIR);
        return Target::Refused;
    }
    // Opened as it stands, nothing truncated: this tells a device or a pipe from a file, and finds a
    // file another program holds open, which the new file could not replace. A pipe is opened
    // without waiting; with no free end the system says so at once.
    clearSystemError();
    const HANDLE handle = ::CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            return Target::NewFile; // creating it tells best what is missing
        failWithErrno(lastSystemError(EACCES));
        return Target::Refused;
    }
    const DWORD type = ::GetFileType(handle);
    if (type == FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return Target::NewFile;
    }
    if (type != FILE_TYPE_CHAR && type != FILE_TYPE_PIPE) {
        ::CloseHandle(handle);
        fail(notRegularFileText());
        return Target::Refused;
    }
    // The C library's descriptor in binary mode, so that the report's CR LF stay as they are.
    const int descriptor = ::_open_osfhandle(intptr_t(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        failWithErrno(EMFILE);
        return Target::Refused;
    }
    stream_ = std::make_unique<QFile>();
    stream_->open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    return Target::Stream;
}

bool OutputFile::flushToDisk()
{
    return ::FlushFileBuffers(HANDLE(::_get_osfhandle(file_->handle())));
}

// The file system keeps its own record of the rename; Windows has no call that syncs a folder.
void OutputFile::syncFolder() const {}
