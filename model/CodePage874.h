#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>

// Code page 874, the Thai code page of Windows, by the program's own table: no system converter is
// asked, so the bytes are the same wherever the program runs, with or without one. Reading and
// writing are table look-ups, which counts in files of tens of thousands of lines.

// The character each byte stands for. Every byte has exactly one: the bytes the code page leaves
// undefined stand for the control or private-use character that encodes back to the same byte, as
// in the converters of ICU and of Windows.
const std::array<char16_t, 256>& cp874Characters();

// The bytes as text, one character per byte.
QString decodeCp874(QByteArrayView bytes);

// `text` in code page 874: every character the code page holds becomes its byte, and every other
// character one "?" — a pair of surrogates included, and invisible ones such as a soft hyphen or a
// byte-order mark, which a system's converter would drop. So every character of the text takes
// exactly one byte, which the report's column counting relies on.
QByteArray encodeCp874(QStringView text);

// `text` in code page 874 when the code page holds every one of its characters, so that decoding
// the bytes gives the text back; false, and `bytes` unspecified, when it does not.
bool cp874BytesOf(QStringView text, QByteArray& bytes);
