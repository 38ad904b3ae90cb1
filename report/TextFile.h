#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

class QIODevice;

// The encodings the program writes. Its own files are in the Thai code page 874, one byte per
// character; a character the code page cannot hold becomes "?".
enum class TextEncoding { Cp874, Utf8 };

QByteArray encodeText(QStringView text, TextEncoding encoding = TextEncoding::Cp874);

// Writes `text` to `device`, encoded a piece at a time so that a long text never exists twice.
// False when the device refuses a write.
bool writeText(QIODevice& device, QStringView text, TextEncoding encoding = TextEncoding::Cp874);

// Replaces the file at `path` whole with what `write` writes into the device it is given (see
// OutputFile): a write that fails, or returns false, leaves the earlier file as it was. On failure
// returns false and, when `error` is given, why, in Thai.
bool saveFile(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error = nullptr);

// Writes `bytes`, as they are, to `path` as saveFile does.
bool saveBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Writes `text` (lines already ended by CR LF) to `path` as saveFile does.
bool saveTextFile(const QString& path, QStringView text, TextEncoding encoding = TextEncoding::Cp874,
                  QString* error = nullptr);
