#include "model/InputFile.h"

#include "model/SystemErrorText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void keepChangeTime(const struct stat& status, qint64 (&changed)[2])
{
    changed[0] = status.st_mtim.tv_sec;
    changed[1] = status.st_mtim.tv_nsec;
}
} // namespace

bool InputFile::open(const QString& path, QString& reason)
{
    const int handle =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (handle < 0) {
        // A socket is the one kind of name that cannot be opened at all.
        reason = errno == ENXIO ? notRegularFileText() : systemErrorText(errno);
        return false;
    }
    file_.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat status;
    if (::fstat(handle, &status) != 0) {
        reason = systemErrorText(errno);
        return false;
    }
    reason = notOrdinaryFileText(status.st_mode);
    if (!reason.isEmpty())
        return false;
    size_ = status.st_size;
    keepChangeTime(status, changed_);
    return true;
}

bool InputFile::unchanged() const
{
    struct stat status;
    if (::fstat(file_.handle(), &status) != 0)
        return false;
    qint64 changed[2];
    keepChangeTime(status, changed);
    return status.st_size == size_ && changed[0] == changed_[0] && changed[1] == changed_[1];
}

StreamSource streamSource(const QFile& stream)
{
    struct stat status;
    if (stream.handle() < 0 || ::fstat(stream.handle(), &status) != 0)
        return {};
    if (S_ISREG(status.st_mode))
        return {StreamSource::Kind::OrdinaryFile, status.st_size};
    if (S_ISDIR(status.st_mode))
        return {StreamSource::Kind::Folder};
    if (S_ISCHR(status.st_mode) && !::isatty(stream.handle()))
        return {StreamSource::Kind::Device};
    return {};
}
