#include "report/ReportSelection.h"

namespace {

QString selectionCode(bool first, bool second, bool third)
{
    const QChar code[] = {QLatin1Char(first ? '1' : '0'), QLatin1Char(second ? '1' : '0'),
                          QLatin1Char(third ? '1' : '0')};
    return QString(code, 3);
}

} // namespace

QString ReportSelection::ScoreCode() const
{
    return selectionCode(IncludeRawScore, IncludeZScore, IncludeTScore);
}

QString ReportSelection::ItemCode() const
{
    return selectionCode(IncludeDifficulty, IncludeDiscrimination, IncludeDistractors);
}

ReportSelection reportSelection(const AnalysisSelection& boxes)
{
    const auto& stat = boxes.chkStat;
    const auto& analyse = boxes.chkAnalyse;
    ReportSelection selection;
    selection.IncludeRawScore = stat[StatBox::RawScore];
    selection.IncludeRange = stat[StatBox::Range];
    selection.IncludeMean = stat[StatBox::Mean];
    selection.IncludeMedian = stat[StatBox::Median];
    selection.IncludeMode = stat[StatBox::Mode];
    selection.IncludeSD = stat[StatBox::SD];
    selection.IncludeZScore = stat[StatBox::ZScore];
    selection.IncludeTScore = stat[StatBox::TScore];
    selection.IncludeSkewness = stat[StatBox::Skewness];
    selection.IncludeKurtosis = stat[StatBox::Kurtosis];
    selection.IncludeReliability = analyse[AnalyseBox::Reliability];
    selection.IncludeDifficulty = analyse[AnalyseBox::Difficulty];
    selection.IncludeDiscrimination = analyse[AnalyseBox::Discrimination];
    selection.IncludeSEM = analyse[AnalyseBox::SEM];
    selection.IncludeDistractors = analyse[AnalyseBox::Distractors];
    return selection;
}
