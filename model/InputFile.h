#pragma once

#include <QFile>
#include <QString>

// A data file opened for reading, checked to be an ordinary file. It is opened without waiting (a
// pipe with no writer would otherwise block the program for ever), and the checks are made on what
// was opened, so the name cannot be swapped for something else in between.
class InputFile {
public:
    // False when the file cannot be opened or is not an ordinary file (a folder, a device, a pipe,
    // a socket); `reason` then says why, in Thai.
    bool open(const QString& path, QString& reason);

    QFile& device() { return file_; }
    qint64 size() const { return size_; }
    // Whether the file still has the size and the time of its last change that it had when opened.
    bool unchanged() const;

private:
    QFile file_;
    qint64 size_ = 0;
    qint64 changed_[2] = {}; // the system's time of the last change, in its own two parts
};

// What stands behind an open stream such as standard input, as far as reading a data file cares:
// a redirected ordinary file with its size, a folder, or a device other than a terminal, which may
// never end (a null or zero device, a serial port). Anything else (a terminal, a pipe, or what the
// system cannot tell) is read as it comes.
struct StreamSource {
    enum class Kind { Other, OrdinaryFile, Folder, Device };
    Kind kind = Kind::Other;
    qint64 size = 0;
};
StreamSource streamSource(const QFile& stream);
