#pragma once

#include <QString>
#include <QtGlobal>

// Ways to make a write fail as on a disk that fills up. They need POSIX: where they are not
// available (Windows) a test that needs them skips itself.

// Lowers this process's file-size limit to `bytes` while it lives: a write past it fails as on a disk
// that fills up half-way (the program is told, not ended).
class FileSizeLimit {
public:
    static bool available();
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    qint64 earlier_ = 0;
};

// A device that is always full (every write to it fails), or an empty string where there is none.
QString alwaysFullDevice();
