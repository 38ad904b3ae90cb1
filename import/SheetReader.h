#pragma once

#include "import/Table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads the sheet of a file's bytes, whatever spreadsheet it is: CSV or TSV, an Excel workbook
// (.xlsx) or an OpenDocument spreadsheet (.ods), told by the content and else by the name's ending.
// `sheet` chooses a workbook's sheet as its tab shows it (empty: the first); `sheets`, when given,
// receives a workbook's sheet names in tab order, also when the one asked for is not among them
// (none for CSV). False, with a Thai message naming `name` in `error`, when it cannot be read.
// Whether the bytes are read as CSV or TSV text: no workbook by their content or their name's ending.
bool isTextSheet(const QByteArray& bytes, const QString& name);

bool readSheetBytes(const QByteArray& bytes, const QString& name, const QString& sheet, Table& table,
                    QString& error, QStringList* sheets = nullptr);
