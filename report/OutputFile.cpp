#include "report/OutputFile.h"

#include "model/SystemErrorText.h"
#include "report/CheckedDevice.h"

#include <cerrno>

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

bool OutputFile::open()
{
    switch (inspectTarget()) {
    case Target::Refused:
        return false;
    case Target::Stream:
        checked_ = std::make_unique<CheckedDevice>(*stream_);
        return true;
    case Target::NewFile:
        break;
    }
    file_ = std::make_unique<QSaveFile>(path_);
    clearSystemError();
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failWithErrno(lastSystemError(EACCES));
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
    clearSystemError();
    if (!flushToDisk())
        return failWithErrno(lastSystemError(EIO));
    return true;
}

bool OutputFile::commit()
{
    if (stream_) {
        stream_->close();
        return true;
    }
    clearSystemError();
    if (!file_->commit())
        return failWithErrno(lastSystemError(EIO));
    syncFolder();
    return true;
}
