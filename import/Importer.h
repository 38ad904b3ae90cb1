#pragma once

#include "import/Table.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Import of the answers teachers already have: an online quiz form's response export, a spreadsheet
// with one row per student, or an answer-sheet scanner's export, as CSV, TSV or XLSX. The import
// turns the sheet into a standard data file (code page 874, CR LF), so that loading, the analysis
// and the report stay exactly those of a data file.
//
//   file ─ readCsv / readXlsx ─▶ Table ─ detectLayout ─▶ columns and key ─ importTable ─▶ ImportResult
//
// A CSV file's rows after its first are mostly read straight from its bytes instead, with the same
// rules and the same result (importCsvQuickly): the table of a large class would cost far more
// than the data file it becomes.
//
// A result is a pure function of the file and the overrides: a window can show it as a preview, let
// the teacher change a column or the key, and import again.

enum class ImportLayout {
    OnlineForm,       // a timestamp column, perhaps e-mail and score, then one column per question
    RowPerStudent,    // identifier, perhaps a name, then one column per item
    AnswersInOneCell, // identifier, perhaps a name, then all answers in one cell
    Scanner,          // per-question answer columns (Q1, Q2, ...) with a key row or key columns
};

enum class KeySource {
    KeyRow,    // a row of the sheet: the one named by a key word, or --key-row
    KeyColumn, // a column holding the key
    Typed,     // given by the teacher, as a data file writes it
};

// What the teacher chose instead of what the import detected; an empty field leaves it to detection.
// Columns count from 0.
struct ImportOverrides {
    int idColumn = -1;
    QList<int> nameColumns;   // one, or a first-name and a last-name column
    QList<int> answerColumns; // one per item, or one column holding all answers
    int keyRow = 0;           // as the spreadsheet numbers rows: the header is row 1
    QString key;              // choice codes, one per item, as a data file writes them
    QString sheet;            // the sheet of a workbook, as its tab shows it; empty: the first
    int roomColumn = -1;      // each examinee's room, when one sheet holds several rooms
    int formColumn = -1;      // the form of a shuffled test each examinee had
};

// Which columns hold what, as detected or overridden.
struct ImportColumns {
    int id = -1;
    QList<int> names;
    QList<int> answers;
    QList<int> keys; // a key column per answer column (-1: none), or one column holding the whole key
    int room = -1;
    int form = -1;
    bool operator==(const ImportColumns&) const = default;
};

// The options of one item whose choices are written as texts without a label, and the choice code
// each text became: the key's text is 1, the others follow in order of first appearance.
struct OptionMapping {
    int item = 0; // counted from 1
    QStringList texts;
    bool operator==(const OptionMapping&) const = default;
};

// A row of the sheet that is no examinee and not the key, and why.
struct SkippedRow {
    int row = 0; // as the spreadsheet numbers it
    QString reason;
    bool operator==(const SkippedRow&) const = default;
};

// Per examinee or per item: blanks, several marks and unreadable marks.
struct MarkCounts {
    int blank = 0;
    int several = 0;
    int unreadable = 0;
    bool any() const { return blank || several || unreadable; }
    bool operator==(const MarkCounts&) const = default;
};

struct ImportSummary {
    int students = 0;
    int items = 0;
    QList<MarkCounts> perItem;    // index 0 is item 1
    QList<MarkCounts> perStudent; // index 0 is the first examinee
    QList<int> studentRows;       // the row of each examinee, as the spreadsheet numbers it
    QList<OptionMapping> mappings;
    QList<SkippedRow> skipped;
    bool operator==(const ImportSummary&) const = default;
};

// On failure only `error` and what was read before it (the preview, the headers, the layout and the
// columns as detected) are filled, so that a window can show the sheet and let the teacher say where
// the key or a column is.
struct ImportResult {
    bool ok = false;
    QString error; // in Thai, naming the file and the row or column, when !ok

    QList<QStringList> preview; // the first rows of the sheet as read, the header first
    ImportLayout layout = ImportLayout::RowPerStudent;
    ImportColumns columns;
    QStringList headers; // the first row, for naming columns
    QStringList sheets;  // a workbook's sheets as their tabs show them; empty for CSV
    KeySource keySource = KeySource::KeyRow;
    int keyRow = 0; // as the spreadsheet numbers rows, when the key came from a row

    QString key; // choice codes, one per item
    QStringList ids;
    QStringList names; // empty texts when the sheet holds no names
    QStringList rooms; // per examinee, when the sheet has a room column; else empty
    QStringList forms; // likewise, the form of the test
    ImportSummary summary;

    QByteArray dataFile; // the standard data file: code page 874, CR LF after every line
};

// Imports the sheet of the file at `path`: CSV or TSV, or an .xlsx workbook, told by its content.
ImportResult importSpreadsheet(const QString& path, const ImportOverrides& overrides = {});
// Imports a file's bytes; `name` names it in messages and decides between CSV and XLSX by its ending
// when the content does not.
ImportResult importSpreadsheetBytes(const QByteArray& bytes, const QString& name,
                                    const ImportOverrides& overrides = {});
// Imports a table already read.
ImportResult importTable(const Table& table, const QString& name, const ImportOverrides& overrides = {});

// The two ways importSpreadsheetBytes imports a CSV file, which give one result for one file. The
// quick way reads the header, the columns and the key from the first `headRows` rows, as a table,
// and the answers of the other rows straight from the bytes into the data file's, never making a
// table of them; it gives up (false, `result` untouched) on whatever it cannot decide cheaply: text
// that is neither ASCII nor UTF-8, a layout or a key that rows further down decide, a row the file is
// refused for.
// The import reads 64 rows first; tests ask for fewer, so that small files take the quick way too.
bool importCsvQuickly(const QByteArray& bytes, const QString& name, const ImportOverrides& overrides,
                      ImportResult& result, qsizetype headRows = 64);
// The way that reads every cell into a table first, for any file.
ImportResult importCsvThroughTable(const QByteArray& bytes, const QString& name,
                                   const ImportOverrides& overrides = {});

// Whether a file name ends like a spreadsheet the import reads: .csv, .tsv or .xlsx, in any case.
bool isSpreadsheetName(const QString& path);

// What the import did, in Thai, for the teacher to check: the layout, the columns, the key, the
// counts, the marks that are no choice per item and per examinee, the rows skipped, and how option
// texts became choice codes.
QString importSummaryText(const ImportResult& result);
QString layoutName(ImportLayout layout);
