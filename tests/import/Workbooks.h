#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Workbooks made in the test, as Excel and Calc lay them out: a zip archive of XML parts.

// How the members of a zip archive are kept: stored as they are, stored but marked encrypted (as a
// password-protected archive marks them), or deflated, as Excel saves a workbook.
enum class ZipMembers { Stored, Encrypted, Deflated };

// A zip archive of `members`.
QByteArray zipArchive(const QList<QPair<QString, QByteArray>>& members, ZipMembers how = ZipMembers::Stored);

// A one-sheet workbook named "Sheet1" whose sheet is `sheetData` (the <row> elements) and whose
// shared strings are `shared`.
QByteArray workbook(const QByteArray& sheetData, const QList<QString>& shared = {},
                    ZipMembers how = ZipMembers::Stored);

// An OpenDocument spreadsheet of one sheet, "Sheet1", whose table holds `rows` (the <table:table-row>
// elements, with the prefixes table:, text: and office:), and a manifest that may mark it encrypted.
QByteArray odsSpreadsheet(const QByteArray& rows, bool encrypted = false,
                          ZipMembers how = ZipMembers::Deflated);

// A cell's name as a spreadsheet shows it: column 0, row 1 is "A1".
QByteArray cellName(qsizetype column, qsizetype row);

// A sheet row of number cells, as <row r="row"><c r="A3"><v>..</v></c>...</row>.
QByteArray numberRow(int row, const QList<qint64>& values);
