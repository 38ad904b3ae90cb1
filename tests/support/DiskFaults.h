#pragma once

#include "TestFiles.h"

#include <QFile>
#include <QStorageInfo>
#include <QString>
#include <QTemporaryDir>
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

// A memory disk of 64 KiB mounted on a fresh folder. Mounting needs the superuser, as CI has, and
// POSIX; elsewhere mounted() is false and a test that needs the disk skips itself.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString path(const QString& name = {}) const
    {
        return name.isEmpty() ? folder_.path() : folder_.filePath(name);
    }
    // Fills the disk until `bytes` are left.
    void leaveFree(qint64 bytes)
    {
        writeBytes(path(QStringLiteral("filler")),
                   QByteArray(QStorageInfo(path()).bytesAvailable() - bytes, 'f'));
    }
    void makeRoom() { QFile::remove(path(QStringLiteral("filler"))); }
    // From now on nothing can be written on the disk, not even by the superuser.
    void remountReadOnly();

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
};
