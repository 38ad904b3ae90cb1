#pragma once

class QFile;

// Opens the process's standard input, output and error as files. Output and error are unbuffered,
// so that a report that cannot be written to standard output (a full disk, a closed pipe) fails
// while qlt can still say so and exit with 1. Data and reports pass byte for byte: on Windows input
// and output are switched out of the C library's text mode, and a console shows qlt's UTF-8.
void openStandardStreams(QFile& in, QFile& out, QFile& err);
