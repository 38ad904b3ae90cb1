#include "analysis/Selection.h"

AnalysisSelection defaultSelection()
{
    AnalysisSelection boxes;
    boxes.chkStat.fill(true);
    boxes.chkStat[StatBox::Spare] = false; // the page has no box for it
    boxes.chkAnalyse = {true, true, true, true, false};
    return boxes;
}

AnalysisSelection applyBoxRules(AnalysisSelection boxes)
{
    if (!boxes.chkStat[StatBox::ZScore])
        boxes.chkStat[StatBox::TScore] = false;
    if (!boxes.chkAnalyse[AnalyseBox::Reliability])
        boxes.chkAnalyse[AnalyseBox::SEM] = false;
    if (!boxes.chkAnalyse[AnalyseBox::Discrimination])
        boxes.chkAnalyse[AnalyseBox::Distractors] = false;
    return boxes;
}
