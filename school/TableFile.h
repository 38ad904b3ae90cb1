#pragma once

#include "import/Table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// The small tables a teacher keeps beside a data file (a blueprint, the forms of a test), read alike:
// a CSV file or a workbook's first sheet, told by the content and the name's ending.

// Reads the table of a file's bytes; `name` names it in a message.
bool readTableBytes(const QByteArray& bytes, const QString& name, Table& table, QString& error);
// Reads the table in the file at `path`. `what` is what the file is, in Thai ("แผนผังข้อสอบ"), for the
// message that tells why it cannot be read.
bool readTableFile(const QString& path, const QString& what, Table& table, QString& error);

// A cell's text as words are matched against it: blanks simplified, lower case.
QString matchText(QStringView text);
// The first row that is not empty, which heads the table; the row count when every row is empty.
qsizetype headerRow(const Table& table);
// Per wanted column, where the header row names it by one of `names` (lower case), or else -1.
std::vector<qsizetype> findColumns(const Table& table, qsizetype header,
                                   const std::vector<QStringList>& names);

// The table a teacher keeps beside a data file: NAME.KIND.csv, .xlsx or .ods for the data file
// NAME.txt; empty when there is none.
QString tableBeside(const QString& dataFile, QLatin1StringView kind);

// A number written in Arabic or Thai digits, perhaps with a minus sign; nothing when the text is no
// whole number.
std::optional<qint64> cellNumber(QStringView text);
