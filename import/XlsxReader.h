#pragma once

#include "import/Table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads one sheet of an Excel workbook (.xlsx): a zip archive of XML parts. The sheet is the first
// one, or the one whose tab shows `sheet`. Text cells come from the shared strings or are written
// inline; a number is read as written, and a whole number, such as an identifier Excel keeps as a
// number, as its integer digits. Rows and cells the sheet leaves out are empty, so that every cell
// keeps the row and column Excel shows it in.
//
// `name` names the file in a message. False, with a Thai message in `error`, for a file that is not
// a workbook, is protected by a password, is damaged, or has no sheet of that name.
bool readXlsx(const QByteArray& bytes, const QString& name, const QString& sheet, Table& table,
              QString& error);

// The names of a workbook's sheets as their tabs show them, in tab order; empty when the bytes are no
// workbook that can be read.
QStringList xlsxSheetNames(const QByteArray& bytes);

// Whether `bytes` start as a zip archive (an .xlsx) or as an OLE compound file (an .xls of old, or
// an .xlsx protected by a password).
bool looksLikeZip(const QByteArray& bytes);
bool looksLikeCompoundFile(const QByteArray& bytes);
