#pragma once

#include "diagnostics/Diagnostics.h"
#include "model/TestData.h"

#include <QString>

// The visual report: one self-contained HTML page (inline style and SVG charts, no scripts, nothing
// fetched from anywhere) with the test summary, the score histogram, the difficulty × discrimination
// chart, the item table with verdicts, a trace-line chart per item and every examinee's standing.
// Thai first, English terms in parentheses. `source` names the data file in the heading.
QString composeHtmlReport(const TestData& data, const TestDiagnostics& test, const QString& source);
