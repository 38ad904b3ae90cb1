#pragma once

#include "analysis/Selection.h"

#include <QString>

// What the report prints: one flag per check box of the analysis page, as the boxes stand when
// Finish is pressed.
struct ReportSelection {
    bool IncludeRawScore = false;
    bool IncludeRange = false;
    bool IncludeMean = false;
    bool IncludeMedian = false;
    bool IncludeMode = false;
    bool IncludeSD = false;
    bool IncludeZScore = false;
    bool IncludeTScore = false;
    bool IncludeSkewness = false;
    bool IncludeKurtosis = false;
    bool IncludeReliability = false;
    bool IncludeDifficulty = false;
    bool IncludeDiscrimination = false;
    bool IncludeSEM = false;
    bool IncludeDistractors = false;

    // The columns of the score table: raw score, Z-score, T-score, each "1" or "0" ("110").
    QString ScoreCode() const;
    // The item tables: difficulty, discrimination, distractors, each "1" or "0".
    QString ItemCode() const;

    bool operator==(const ReportSelection&) const = default;
};

// The report's flags for the page's boxes; the spare box selects nothing.
ReportSelection reportSelection(const AnalysisSelection& boxes);
