#pragma once

#include "diagnostics/Diagnostics.h"
#include "diagnostics/HtmlReport.h"
#include "model/TestData.h"
#include "school/Blueprint.h"
#include "school/ComparisonSection.h"
#include "school/IndicatorScores.h"

#include <QByteArray>
#include <QString>

// The blueprint's indicators and the gradebook of an analysed class, as the window and qlt ask for
// them along with a visual report.
struct SchoolRequest {
    QString blueprintPath; // empty: no blueprint
    double passMark = DefaultPassMark;
    QString htmlPath; // the visual report, which gets the indicators and links the gradebook; empty: none
    QString gradebookPath; // .csv or .xlsx; empty: none
    std::vector<GroupComparison>
        comparisons; // the class's rooms or forms: a section and a gradebook column each
};

struct SchoolRecords {
    Blueprint blueprint;
    IndicatorScores scores;
    QByteArray gradebook; // the gradebook file's bytes
};

// Reads the blueprint and scores the class on its indicators, notes in `test` the items whose
// difficulty departs from the blueprint's intent, adds the indicator section (and a link to the
// gradebook) and the comparisons of the pupils' groups to `additions` for the visual report, and makes the
// gradebook's bytes. False with a Thai message in `error` when the blueprint is refused or the workbook
// cannot be made.
bool makeSchoolRecords(const SchoolRequest& request, const TestData& data, TestDiagnostics& test,
                       HtmlAdditions& additions, SchoolRecords& records, QString& error);
