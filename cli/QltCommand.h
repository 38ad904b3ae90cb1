#pragma once

#include <QStringList>

class QIODevice;

// The exit statuses of qlt.
enum QltExit : int {
    QltSuccess = 0, // the report was written
    QltFailure = 1, // the data were refused or the report could not be written
    QltUsage = 2,   // the command line itself is wrong; nothing was read or written
};

// Runs qlt: loads the data file with the program's own loader, runs the program's own analysis with
// the selected boxes and writes the report exactly as the analysis page's Finish would. Messages go to
// `err` as UTF-8 text; `arguments` start with the program's name.
int runQlt(const QStringList& arguments, QIODevice& in, QIODevice& out, QIODevice& err);
