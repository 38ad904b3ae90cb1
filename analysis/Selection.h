#pragma once

#include <array>

// The sixteen check boxes of the analysis page as flags, indexed as the page numbers its boxes.
struct AnalysisSelection {
    std::array<bool, 11> chkStat{};   // scores and statistics; index 6 is a spare the page never shows
    std::array<bool, 5> chkAnalyse{}; // the test and its items

    bool operator==(const AnalysisSelection&) const = default;
};

namespace StatBox {
enum : int { RawScore = 0, Range, Mean, Median, Mode, SD, Spare, ZScore, TScore, Skewness, Kurtosis };
}
namespace AnalyseBox {
enum : int { Reliability = 0, Difficulty, Discrimination, SEM, Distractors };
}

// The boxes the analysis page ticks when it opens: everything but the distractors.
AnalysisSelection defaultSelection();

// The page's rules that keep a selection consistent: T-Score needs Z-Score, SEM needs reliability,
// distractors need discrimination. Clearing a box never ticks another.
AnalysisSelection applyBoxRules(AnalysisSelection boxes);
