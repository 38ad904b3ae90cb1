#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// How the real qlt is started as a child process.
struct QltChild {
    QByteArray input = {};            // its standard input, when inputFile is empty
    QString inputFile = {};           // a file to read as its standard input
    std::function<void()> setUp = {}; // runs in the child just before qlt starts: a limit, a user
};

// What qlt returned (-1 when it crashed) and wrote.
struct QltProcessRun {
    int status = -1;
    QByteArray out;
    QString err;
};

// Runs the built qlt in `folder` and waits for it however long a busy machine takes.
QltProcessRun runQltProcess(const QStringList& arguments, const QString& folder, const QltChild& child = {});
