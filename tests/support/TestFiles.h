#pragma once

#include "model/CodePage874.h" // decodeCp874, to compare reports as text

#include <QByteArray>
#include <QList>
#include <QString>

// The address sanitizer reserves far more address space than a test's memory limit leaves, so such
// tests cannot run in a sanitized build.
#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ADDRESS_SANITIZER 1
#endif
#endif

// Helpers for tests that read and write files.
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
QString examplePath(const QString& name);  // a file of examples/
QString testDataPath(const QString& name); // a file of tests/data/
// Records joined into data-file bytes, each followed by `end`.
QByteArray lines(const QList<QByteArray>& records, const QByteArray& end = "\r\n");
// Compares two texts line by line; on a difference returns a message naming the first differing
// line with both versions, otherwise an empty string.
QString firstDifference(const QString& expected, const QString& actual);
