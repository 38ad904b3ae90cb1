#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Workbooks made in the test, as Excel lays them out: a zip archive of XML parts.

// A zip archive of `members`, stored without compression; `encrypted` marks every member as
// encrypted, as a password-protected archive does.
QByteArray storedZip(const QList<QPair<QString, QByteArray>>& members, bool encrypted = false);

// A one-sheet workbook named "Sheet1" whose sheet is `sheetData` (the <row> elements) and whose
// shared strings are `shared`.
QByteArray workbook(const QByteArray& sheetData, const QList<QString>& shared = {});

// A sheet row of number cells, as <row r="row"><c r="A3"><v>..</v></c>...</row>.
QByteArray numberRow(int row, const QList<qint64>& values);
