#pragma once

#include <QString>

// Why the system refused to read or write a file, in words a teacher understands. Every message about
// a file names the file and then gives one of these reasons, never the system's English text.

// The reason behind an error number of the system (errno), e.g. a full disk or a missing permission.
QString systemErrorText(int errorNumber);

// The reason for refusing a name that is not an ordinary file: a device, a pipe or a socket.
QString notRegularFileText();

// Why a name of this kind (a st_mode of the system) is not read or written as an ordinary file: a
// folder, a device, a pipe or a socket; empty for an ordinary file.
QString notOrdinaryFileText(unsigned mode);
