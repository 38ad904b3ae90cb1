#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>

class CheckedDevice;
class QIODevice;

// One file the program writes, whole or not at all. The new text goes into a temporary file beside
// the earlier one; every write is checked, the temporary file is synced to the disk, and only then is
// it renamed over the earlier file and the folder synced. A full disk, a pulled memory stick or a
// power cut therefore leaves the earlier file byte for byte as it was, never half a report.
//
// A pipe or a character device named as the output (a FIFO, /dev/null; on Windows a named pipe, NUL,
// CON) is written into as a stream. A link is written through, as editors do, except a link that
// another user planted in a folder everyone may write to (a shared temporary folder), which is
// refused, as the system's own protected-links rule refuses to follow it. On Windows a file another
// program holds open (Word, showing the last report) is refused before anything is written.
//
// Several outputs become all-or-none by opening and writing every one of them before committing any.
// An output that is not committed is discarded when it is destroyed.
class OutputFile {
public:
    explicit OutputFile(const QString& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Checks the place and opens the temporary file or the stream; false when the name cannot be
    // written (a folder, a socket, a refused link, a folder without permission, a read-only disk).
    bool open();
    // Once open: lets `writer` write the whole text, then makes sure all of it reached the disk. A
    // write that does not take every byte fails, and so does a writer that returns false.
    bool write(const std::function<bool(QIODevice&)>& writer);
    // Puts the new file in place of the earlier one; a stream has nothing left to do.
    bool commit();

    const QString& path() const { return path_; }
    bool isStream() const { return stream_ != nullptr; }
    // Why the last step failed, in Thai; empty while nothing failed.
    const QString& reason() const { return reason_; }

private:
    enum class Target { NewFile, Stream, Refused };

    bool fail(const QString& reason);
    bool failWithErrno(int errorNumber);
    // What the name stands for on this system; opens stream_ for a stream and says why in reason_
    // when the name is refused.
    Target inspectTarget();
    // Makes sure the written file reached the disk, not only the system's cache.
    bool flushToDisk();
    void syncFolder() const;

    QString path_;
    QString reason_;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QFile> stream_;
    std::unique_ptr<CheckedDevice> checked_;
};

// By default the system ends a program that writes past the user's file-size limit or into a pipe
// nobody reads any more (POSIX), or stops it with a dialog for a drive whose medium was taken out
// (Windows). Called once at start-up, such writes fail instead, so that the program can keep the
// earlier file and say what happened.
void reportWriteLimitsAsErrors();
