#pragma once

#include "diagnostics/Index.h"
#include "model/TestData.h"
#include "school/Blueprint.h"

#include <vector>

// Scores per indicator of a blueprint: each pupil's right answers among the indicator's items, and
// per indicator the class's mean percent, the KR-20 of its items as a test of their own, and how many
// pupils reach the pass mark.

inline constexpr double DefaultPassMark = 50; // per cent of an indicator's items

// KR-20 of fewer items says little about a short sub-test's consistency.
inline constexpr int IndicatorKr20MinItems = 3;

struct IndicatorScores {
    double passMark = DefaultPassMark;
    int examinees = 0;
    std::vector<std::vector<int>> scores; // [indicator][pupil i at i − 1]: right answers
    std::vector<int> items;               // per indicator: its number of items
    std::vector<double> meanPercent;      // per indicator
    std::vector<Index> kr20;  // per indicator: the run's KR-20 on its items; undefined below 3 items or SD 0
    std::vector<int> passing; // per indicator: pupils at or above the pass mark

    double percent(std::size_t indicator, int pupil) const
    {
        return 100.0 * scores[indicator][std::size_t(pupil) - 1] / items[indicator];
    }
};

// Scores every pupil of `data` (a key and answers loaded) on every indicator of `blueprint`, read for
// the same number of items; `passMark` in per cent.
IndicatorScores scoreIndicators(const TestData& data, const Blueprint& blueprint, double passMark);

// Whether `score` of `items` right answers reaches `passMark` per cent.
bool reachesPassMark(int score, int items, double passMark);
