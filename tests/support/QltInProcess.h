#pragma once

#include <QString>
#include <QStringList>

// What qlt returned and wrote to its error stream.
struct QltRun {
    int status = -1;
    QString err;
};

// Runs qlt inside the test with `arguments` after the program name, an empty input and its output
// captured in memory.
QltRun runQltInProcess(const QStringList& arguments);
