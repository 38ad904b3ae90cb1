#pragma once

#include <QIODevice>

// Passes every write on to another device and remembers the system's reason when one does not take
// all its bytes. A file's own error text is the system's English, and to Qt a short write (a disk
// that fills up half-way) is not even an error; through this device it is.
class CheckedDevice : public QIODevice {
public:
    explicit CheckedDevice(QIODevice& target);

    // The error number (see SystemErrorText.h) of the first failed write; 0 while every write succeeded.
    int errorNumber() const { return errorNumber_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    QIODevice& target_;
    int errorNumber_ = 0;
};
