#include "FileIdentity.h"

#include <QDir>

#include <windows.h>

#include <optional>

namespace {
struct Identity {
    DWORD volume, indexHigh, indexLow;
};

// Opened only to ask who it is: no access asked, every kind of sharing allowed, folders included.
// Names of the device space (\\.\pipe\...) are left unopened: opening a pipe takes one of its ends.
std::optional<Identity> identityOf(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    if (native.startsWith(QLatin1String("\\\\.\\")))
        return std::nullopt;
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = ::GetFileInformationByHandle(handle, &information);
    ::CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return Identity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}
} // namespace

bool sameExistingFile(const QString& first, const QString& second)
{
    const auto one = identityOf(first);
    const auto other = identityOf(second);
    return one && other && one->volume == other->volume && one->indexHigh == other->indexHigh &&
           one->indexLow == other->indexLow;
}

bool samePathText(const QString& first, const QString& second)
{
    return first.compare(second, Qt::CaseInsensitive) == 0;
}
