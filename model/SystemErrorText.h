#pragma once

#include <QString>

// Why the system refused to read or write a file, in words a teacher understands. Every message about
// a file names the file and then gives one of these reasons, never the system's English text.
//
// Reasons are kept as error numbers of the C library (errno); on Windows the system's own error
// codes are translated to them, so that both systems give a teacher the same sentence.

// The reason behind an error number, e.g. a full disk or a missing permission.
QString systemErrorText(int errorNumber);

// Forgets the last error, before a call whose failure is to be explained.
void clearSystemError();
// The error number of the last failed call; `fallback` when the system gave no reason.
int lastSystemError(int fallback);

// The reason for refusing a name that is not an ordinary file: a device, a pipe or a socket.
QString notRegularFileText();

// Why a name of this kind (a st_mode of POSIX systems) is not read or written as an ordinary file:
// a folder, a device, a pipe or a socket; empty for an ordinary file.
QString notOrdinaryFileText(unsigned mode);
