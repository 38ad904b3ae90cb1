#pragma once

#include "import/Importer.h"
#include "import/Table.h"

// Reads the header row (row 1) of an exported sheet: which column holds the identifier, the name or
// a first and a last name, the answers, and the key, and which kind of export it is. A timestamp
// column marks an online form; key columns or questions headed Q1, Q2, ... a scanner; one answer
// column whose cells hold several choice labels all answers in one cell; anything else a spreadsheet
// with one column per item. Columns the header does not name are answers, except that the first of
// them is the identifier when no header names one, nor a name column that can serve.
ImportLayout detectLayout(const Table& table, ImportColumns& columns);

// Whether most of the filled cells below the header hold several choice labels: all answers in one cell.
bool holdsAllAnswers(const Table& table, int column);
