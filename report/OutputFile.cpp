#include "report/OutputFile.h"

#include "model/SystemErrorText.h"
#include "report/CheckedDevice.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

QString refusedLinkText()
{
    return QStringLiteral("ชื่อนี้เป็นลิงก์ของผู้ใช้อื่นในโฟลเดอร์ที่ทุกคนเขียนได้  "
                          "โปรแกรมจึงไม่เขียนตามลิงก์นี้เพื่อความปลอดภัย");
}
} // namespace

void reportWriteLimitsAsErrors()
{
    ::signal(SIGXFSZ, SIG_IGN);
    ::signal(SIGPIPE, SIG_IGN);
}

OutputFile::OutputFile(const QString& path) : path_(path) {}

// A QSaveFile that is destroyed uncommitted removes its temporary file; the earlier file is untouched.
OutputFile::~OutputFile() = default;

bool OutputFile::fail(const QString& reason)
{
    reason_ = reason;
    return false;
}

bool OutputFile::failWithErrno(int errorNumber)
{
    return fail(systemErrorText(errorNumber));
}

// The rule the kernel applies to links in sticky, world-writable folders: follow a link only when it
// belongs to the user or to the folder's owner.
bool OutputFile::refusedLink() const
{
    struct stat link;
    if (::lstat(nativePath(path_).constData(), &link) != 0 || !S_ISLNK(link.st_mode))
        return false;
    struct stat folder;
    if (::stat(nativePath(QFileInfo(path_).absolutePath()).constData(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid;
}

bool OutputFile::open()
{
    if (refusedLink())
        return fail(refusedLinkText());
    struct stat target;
    if (::stat(nativePath(path_).constData(), &target) == 0) {
        if (S_ISFIFO(target.st_mode) || S_ISCHR(target.st_mode)) {
            // Without a reader a pipe would block the program forever: ask without waiting, then write.
            const int descriptor = ::open(nativePath(path_).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (descriptor < 0)
                return failWithErrno(errno);
            ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
            stream_ = std::make_unique<QFile>();
            stream_->open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered,
                          QFileDevice::AutoCloseHandle);
            checked_ = std::make_unique<CheckedDevice>(*stream_);
            return true;
        }
        if (const QString refusal = notOrdinaryFileText(target.st_mode); !refusal.isEmpty())
            return fail(refusal);
    } else if (errno != ENOENT) {
        return failWithErrno(errno);
    }

    file_ = std::make_unique<QSaveFile>(path_);
    errno = 0;
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failWithErrno(errno ? errno : EACCES);
    checked_ = std::make_unique<CheckedDevice>(*file_);
    return true;
}

bool OutputFile::write(const std::function<bool(QIODevice&)>& writer)
{
    const bool written = writer(*checked_);
    if (checked_->errorNumber())
        return failWithErrno(checked_->errorNumber());
    if (!written)
        return failWithErrno(EIO);
    if (stream_)
        return true;
    // The disk may report a full or failing medium only now, when the data leave the system's cache.
    if (::fsync(file_->handle()) != 0)
        return failWithErrno(errno);
    return true;
}

bool OutputFile::commit()
{
    if (stream_) {
        stream_->close();
        return true;
    }
    errno = 0;
    if (!file_->commit())
        return failWithErrno(errno ? errno : EIO);
    syncFolder();
    return true;
}

// The rename is lasting only once the folder is on the disk too. A folder that cannot be synced (some
// network and virtual file systems) still holds the complete new file, so this is not a failure.
void OutputFile::syncFolder() const
{
    const QString folder = QFileInfo(QFileInfo(path_).canonicalFilePath()).absolutePath();
    const int descriptor = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}
