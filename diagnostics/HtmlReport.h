#pragma once

#include "diagnostics/Diagnostics.h"
#include "model/TestData.h"

#include <QString>

#include <vector>

// The visual report: one self-contained HTML page (inline style and SVG charts, no scripts, nothing
// fetched from anywhere) with the test summary, the score histogram, the difficulty × discrimination
// chart, the item table with verdicts, a trace-line chart per item and every examinee's standing.
// Thai first, English terms in parentheses. `source` names the data file in the heading.
//
// Other parts of the program add to the page what they know of the test (its blueprint, files written
// with it) through `additions`, already in HTML: their style rules, lines under the heading, and
// numbered sections before the definitions.
struct HtmlSection {
    QString id;      // the heading's anchor
    QString title;   // in Thai
    QString english; // the English term shown after it
    QString body;
};
struct HtmlAdditions {
    QString style;
    QString header;
    std::vector<HtmlSection> sections;
};
QString composeHtmlReport(const TestData& data, const TestDiagnostics& test, const QString& source,
                          const HtmlAdditions& additions = {});
