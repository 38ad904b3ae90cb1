#include "report/OutputFile.h"

#include "model/SystemErrorText.h"

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

// The rule the kernel applies to links in sticky, world-writable folders: follow a link only when it
// belongs to the user or to the folder's owner.
bool refusedLink(const QString& path)
{
    struct stat link;
    if (::lstat(nativePath(path).constData(), &link) != 0 || !S_ISLNK(link.st_mode))
        return false;
    struct stat folder;
    if (::stat(nativePath(QFileInfo(path).absolutePath()).constData(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid;
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

OutputFile::Target OutputFile::inspectTarget()
{
    if (refusedLink(path_)) {
        fail(refusedLinkText());
        return Target::Refused;
    }
    struct stat target;
    if (::stat(nativePath(path_).constData(), &target) != 0) {
        if (errno == ENOENT)
            return Target::NewFile;
        failWithErrno(errno);
        return Target::Refused;
    }
    if (S_ISFIFO(target.st_mode) || S_ISCHR(target.st_mode)) {
        // Without a reader a pipe would block the program forever: ask without waiting, then write.
        const int descriptor = ::open(nativePath(path_).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0) {
            failWithErrno(errno);
            return Target::Refused;
        }
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
        stream_ = std::make_unique<QFile>();
        stream_->open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
        return Target::Stream;
    }
    if (const QString refusal = notOrdinaryFileText(target.st_mode); !refusal.isEmpty()) {
        fail(refusal);
        return Target::Refused;
    }
    return Target::NewFile;
}

bool OutputFile::flushToDisk()
{
    return ::fsync(file_->handle()) == 0;
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
