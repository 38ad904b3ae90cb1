#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The encodings the program writes. Its own files are in the Thai code page 874, one byte per
// character; a character the code page cannot hold becomes "?".
enum class TextEncoding { Cp874, Utf8 };

QByteArray encodeText(QStringView text, TextEncoding encoding = TextEncoding::Cp874);

// Writes `text` (lines already ended by CR LF) to `path`, replacing the file atomically: a write
// that fails leaves the earlier file as it was. On failure returns false and, when `error` is
// given, a description of what went wrong.
bool saveTextFile(const QString& path, QStringView text, TextEncoding encoding = TextEncoding::Cp874,
                  QString* error = nullptr);
