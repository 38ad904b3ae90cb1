#pragma once

#include "import/Table.h"

#include <QByteArray>
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
