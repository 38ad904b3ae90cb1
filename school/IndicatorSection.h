#pragma once

#include "diagnostics/HtmlReport.h"
#include "model/TestData.h"
#include "school/Blueprint.h"
#include "school/IndicatorScores.h"

// The visual report's section on the blueprint's indicators: a bar chart of the class's mean percent
// per indicator against the pass mark, a table of the indicators (items, mean percent, KR-20, pupils
// reaching the pass mark), and a pupil × indicator table in colour bands that print, with its style.
void addIndicatorSection(const TestData& data, const Blueprint& blueprint, const IndicatorScores& scores,
                         HtmlAdditions& additions);
