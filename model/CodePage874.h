#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>

// Code page 874, the Thai code page of Windows, by table. The system's converter is asked once for
// the character of every byte; after that, reading and writing are table look-ups rather than a
// converter call per text, which counts in files of tens of thousands of lines.

// The character each byte stands for. Every byte has exactly one: the converter gives the bytes the
// code page leaves undefined private-use characters that encode back to the same byte.
const std::array<char16_t, 256>& cp874Characters();
// Bytes of code page 874 as text, a character per byte.
QString decodeCp874(QByteArrayView bytes);

// `text` in code page 874: every character the code page holds becomes its byte, and every other
// character one "?" — a pair of surrogates included, and invisible ones such as a soft hyphen or a
// byte-order mark, which the system's converter would drop. So every character of the text takes
// exactly one byte, which the report's column counting relies on.
QByteArray encodeCp874(QStringView text);

// `text` in code page 874 when the code page holds every one of its characters, so that decoding
// the bytes gives the text back; false, and `bytes` unspecified, when it does not.
bool cp874BytesOf(QStringView text, QByteArray& bytes);
