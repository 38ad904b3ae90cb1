#pragma once

#include "import/Table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads one sheet of an OpenDocument spreadsheet (.ods, as LibreOffice Calc saves it): a zip archive
// whose content.xml holds every table. The sheet is the first one, or the one whose tab shows
// `sheet`. A number cell is read as its value (a whole number as its integer digits, as for a
// workbook of Excel's); any other cell as the text it shows, its paragraphs on lines of their own.
// Repeated rows and cells are written out, except the empty ones that end a row or the sheet.
//
// `name` names the file in a message; `sheets`, when given, receives the names of every sheet in tab
// order, also when the one asked for is not among them. False, with a Thai message in `error`, for
// a file that is damaged, protected by a password, or has no sheet of that name.
bool readOds(const QByteArray& bytes, const QString& name, const QString& sheet, Table& table, QString& error,
             QStringList* sheets = nullptr);

// Whether a zip archive's bytes are an OpenDocument spreadsheet, by the media type it names.
bool isOdsArchive(const QByteArray& bytes);
