#pragma once

#include <QProcessEnvironment>
#include <QStringList>

// How to show the teacher a report, decided before anything is started: a launcher that starts
// fine proves nothing, since a desktop without a word processor hands a .doc to the web browser,
// which only downloads it.
struct ViewerCommand {
    QString program; // empty when nothing on this desktop can show the report
    QStringList arguments;
};

// LibreOffice when it is on the PATH (told the Thai code page, which it cannot guess); otherwise
// xdg-open, when the desktop's default application for the file's type is installed and is not
// a web browser or a program that runs in a terminal. The environment supplies PATH and the XDG folders the desktop's choices live in.
ViewerCommand documentViewer(const QString& path, const QProcessEnvironment& environment);
