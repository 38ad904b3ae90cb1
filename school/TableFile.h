#pragma once

#include "import/Table.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The small tables a teacher keeps beside a data file (a blueprint, the forms of a test), read alike:
// a CSV file or a workbook's first sheet, told by the content and the name's ending.

// Reads the table of a file's bytes; `name` names it in a message.
bool readTableBytes(const QByteArray& bytes, const QString& name, Table& table, QString& error);
// Reads the table in the file at `path`. `what` is what the file is, in Thai ("แผนผังข้อสอบ"), for the
// message that tells why it cannot be read.
bool readTableFile(const QString& path, const QString& what, Table& table, QString& error);

// A cell's text as words are matched against it: blanks simplified, lower case.
QString matchText(QStringView text);
// A number written in Arabic or Thai digits, perhaps with a minus sign; nothing when the text is no
// whole number.
std::optional<qint64> cellNumber(QStringView text);
