#pragma once

#include "diagnostics/Diagnostics.h"
#include "model/TestData.h"
#include "school/Blueprint.h"
#include "school/IndicatorScores.h"
#include "school/PupilGroups.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The gradebook: a row per pupil with the figures a school records (identifier, name, raw score,
// percent, Z, T, percentile rank, stanine, and the percent per indicator when there is a blueprint),
// and a sheet of the test's own figures (its size, mean, SD, KR-20, SEM, and per item p, D and the
// answers that are no choice). The sheets are laid out once, here, for every file format.

// A cell: a text, or a number with the text it shows (rounded to its decimals), so that a spreadsheet
// receives the same value that the CSV file shows.
struct SheetCell {
    QString text;
    bool isNumber = false;
    int decimals = 0;
    double value() const { return text.toDouble(); }
};
using SheetRow = std::vector<SheetCell>;
struct Sheet {
    QString name;
    std::vector<SheetRow> rows;
    std::vector<std::size_t> headings{0}; // the rows that head a table, shown bold
};

// The pupils' sheet, then the test's. `blueprint` and `scores` are null without a blueprint; each of
// `groups` (the rooms, the forms of the test) gives a column of each pupil's group after the name.
std::vector<Sheet> gradebookSheets(const TestData& data, const TestDiagnostics& test,
                                   const Blueprint* blueprint, const IndicatorScores* scores,
                                   const std::vector<PupilGroups>& groups = {});

// A sheet as CSV (the gradebook's pupils, a class list): UTF-8 with a byte-order mark, CR LF after every row,
// fields quoted as RFC 4180 wants, so that spreadsheets open it cleanly.
QString composeSheetCsv(const Sheet& sheet);

// Whether this build writes workbooks (it needs libxlsxwriter).
bool gradebookXlsxAvailable();
// The sheets as an .xlsx workbook in `bytes`. The library writes only to a named file, so the
// workbook is made in a temporary file in `folder` (beside where it goes) and read back. False with a
// Thai message in `error` when it cannot be made.
bool composeGradebookXlsx(const std::vector<Sheet>& sheets, const QString& folder, QByteArray& bytes,
                          QString& error);

// A line for the visual report's heading that links the gradebook written with it, by its path
// relative to the page's.
QString gradebookLinkHtml(const QString& htmlPath, const QString& gradebookPath);

// Whether a gradebook path names a workbook (.xlsx) rather than a CSV file (.csv), by its ending.
bool isWorkbookName(const QString& path);
// A Thai message when `path` cannot name a gradebook this build writes; empty when it can.
QString gradebookNameProblem(const QString& path);
