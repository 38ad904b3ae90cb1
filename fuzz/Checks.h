#pragma once

#include <QByteArrayView>
#include <QString>

struct ImportOverrides;

// What must hold for any input at all. The fuzz targets check it on the inputs they invent; the
// hardening tests replay it on the inputs kept in tests/hardening/inputs, the ones that once broke
// something among them.

// `file` as a data file: either refused with a message, the model left as it was, or loaded into a
// data set of the documented shape (arrays of count + 2 entries, the matrix rows the answers' first
// characters).
bool loaderKeepsItsPromises(QByteArrayView file);

// Bytes 0 to 2 are what the teacher chooses: the number of choices (0, 4 or 5) and the encoding
// (byte 0), the sixteen check boxes (bytes 1 and 2); the rest is a data file. Once loaded and
// analysed, the report composed whole equals the report written piece by piece, and in code page
// 874 it takes one byte per character.
bool reportKeepsItsPromises(QByteArrayView input);

// Bytes 0 to 2 as above, except that no choice count in byte 0 means the key's, as qlt assumes; the
// rest is a data file. Once loaded, analysed and diagnosed, the visual report and the spreadsheet
// keep the promises below, with each examinee's identifier and name shown whole as text.
bool diagnosticsKeepTheirPromises(QByteArrayView input);

// `html` is well formed: every element it opens is closed, in order; every text and attribute value
// has '<', '&' and '"' only as escapes; each of `identifiers` (the empty ones aside) is a whole text
// of its own; `source` is shown; and no number reads NaN or infinity.
bool htmlKeepsItsPromises(const QString& html, const QStringList& identifiers, const QString& source);

// `csv` is a byte-order mark, then a header and `rows` records as wide as the header, quoted as RFC
// 4180 wants, each ending in CR LF; no field reads NaN or infinity.
bool csvKeepsItsPromises(const QString& csv, int rows);

// `input` as a CSV file, as an .xlsx file, and as the rows of a workbook's and of an ODS sheet: each refused
// with a message or imported into a data file that loads with the examinees and items the import
// counted. As a CSV file, the quick import gives what the whole table gives.
bool importKeepsItsPromises(QByteArrayView input);

// The two ways of importing a CSV file, held against each other: the quick way, with the head of
// each size in `headRows`, against the whole table. Empty when every result is the same in every
// field (or the quick way gave up); otherwise which head and which field differ. `quickRuns`, when
// given, counts the heads with which the quick way ran.
QString csvImportDifference(const QByteArray& csv, const ImportOverrides& overrides,
                            std::initializer_list<int> headRows, int* quickRuns = nullptr);
