#pragma once

#include "import/Table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reads a CSV or TSV file as spreadsheets and online forms export it (RFC 4180): fields separated by
// a comma, a semicolon or a tab, whichever the first line holds most of; a field in double quotes may
// hold separators, line breaks and doubled quotes. The text is UTF-8 (with or without a byte-order
// mark), UTF-16 with a byte-order mark ("Unicode text"), or else the Thai code page 874, which Excel
// on a Thai Windows writes as "CSV".
//
// `name` names the file in a message. False, with a Thai message in `error`, for a file that is not
// text or whose last quoted field never ends.
bool readCsv(const QByteArray& bytes, const QString& name, Table& table, QString& error);

// The first `rows` rows of a CSV file in ASCII or UTF-8 (with or without a byte-order mark), read as
// readCsv reads them, and where the rows after them begin in `text`, so that a reader can go on from
// there without a table. That reader must give up on a NUL, and on bytes beyond ASCII unless the
// whole text is valid UTF-8, which readCsv reads as such (and otherwise as code page 874).
struct CsvHead {
    Table table;
    QByteArrayView text; // the file's bytes without the byte-order mark
    qsizetype restAt = 0;
    char16_t separator = u',';
};
// False when the head is neither ASCII nor UTF-8, holds a NUL, or a quoted cell of it never ends.
bool readCsvHead(const QByteArray& bytes, qsizetype rows, CsvHead& head);

// Whether every byte is ASCII, tested a block at a time so that the test runs at memory speed.
bool isAscii(QByteArrayView bytes);

// How a cell ended: at a separator, at a line break, at the end of the file, or never (a quote
// left open).
enum class CsvCellEnd { Separator, Row, File, OpenQuote };

inline char16_t csvUnit(QChar character)
{
    return character.unicode();
}
inline char16_t csvUnit(char ascii)
{
    return char16_t(uchar(ascii));
}

// Reads the cell that begins at `read`, handing its characters to `put` one by one (quotes and
// doubled quotes undone), and moves `read` past the separator or the line break (CR, LF or CR LF)
// that ends it. At the end of the text it reads an empty cell.
template <typename Char, typename Put>
CsvCellEnd readCsvCell(const Char* in, qsizetype size, qsizetype& read, char16_t separator, Put&& put)
{
    if (read < size && csvUnit(in[read]) == u'"') {
        for (++read;; ++read) {
            if (read == size)
                return CsvCellEnd::OpenQuote;
            if (csvUnit(in[read]) == u'"') {
                if (read + 1 < size && csvUnit(in[read + 1]) == u'"')
                    ++read;
                else
                    break;
            }
            put(csvUnit(in[read]));
        }
        ++read; // the closing quote
    }
    char16_t c = 0;
    while (read < size && (c = csvUnit(in[read])) != separator && c != u'\n' && c != u'\r')
        put(c), ++read;
    if (read == size)
        return CsvCellEnd::File;
    ++read;
    if (c == separator)
        return CsvCellEnd::Separator;
    if (c == u'\r' && read < size && csvUnit(in[read]) == u'\n')
        ++read;
    return CsvCellEnd::Row;
}
