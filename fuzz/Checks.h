#pragma once

#include <QByteArrayView>

// What must hold for any input at all. The fuzz targets check it on the inputs they invent; the
// hardening tests replay it on the inputs kept in tests/hardening/inputs, the ones that once broke
// something among them.

// `file` as a data file: either refused with a message, the model left as it was, or loaded into a
// data set of the documented shape (arrays of count + 2 entries, the matrix rows the answers' first
// characters).
bool loaderKeepsItsPromises(QByteArrayView file);

// Bytes 0 to 2 are what the teacher chooses: the number of choices (0, 4 or 5) and the encoding
// (byte 0), the sixteen check boxes (bytes 1 and 2); the rest is a data file. Once loaded and
// analysed, the report composed whole equals the report written piece by piece, and in code page
// 874 it takes one byte per character.
bool reportKeepsItsPromises(QByteArrayView input);
