#pragma once

#include "analysis/AnalysisMessages.h"
#include "analysis/AnalysisResults.h"
#include "analysis/Selection.h"
#include "model/TestData.h"

// What one press of Analyse did.
struct RunOutcome {
    bool finished = false;      // the run reached its end: the page enables Finish and focuses it
    AnalysisSelection computed; // the boxes whose results this run computed for the current data
    int numChoices = 0;         // the number of choices the distractor analysis used
};

// One analysis run over `data`, in the fixed order of its steps. `boxes` are the page's check boxes:
// each selectable step runs only when its box is ticked, and the run may clear boxes (a zero
// standard deviation, a result that cannot be computed) exactly as the page would, applying the box
// rules after each change. The page mirrors `boxes` back into its check boxes afterwards.
RunOutcome runAnalysis(const TestData& data, AnalysisSelection& boxes, AnalysisResults& results,
                       AnalysisMessages& messages);
