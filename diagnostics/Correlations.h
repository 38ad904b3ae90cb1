#pragma once

#include "diagnostics/Index.h"

#include <cstdint>

// Correlations of a right/wrong or chosen/not-chosen mark with the scores, from integer sums over the
// examinees. Every variance and covariance is formed as an exact integer times n² before the one
// division, so a zero variance is recognised exactly and the result is then undefined.

struct ScoreSums {
    std::int64_t examinees = 0;    // n
    std::int64_t sum = 0;          // Σ X over the examinees' total scores
    std::int64_t sumOfSquares = 0; // Σ X²
};

// What one mark adds up to: how many examinees carry it and the sum of their total scores.
struct MarkSums {
    std::int64_t count = 0;
    std::int64_t scoreSum = 0;
};

// Pearson's r between the mark and the total score (the point-biserial correlation).
Index pointBiserial(const ScoreSums& scores, const MarkSums& mark);

// Pearson's r between an item's right answers and the rest score, the total less that item's point:
// the item then no longer correlates with itself.
Index restPointBiserial(const ScoreSums& scores, const MarkSums& right);

// The sample variance (divisor n − 1) of the rest scores of an item.
Index restSampleVariance(const ScoreSums& scores, const MarkSums& right);

// r_bis = r_pb × √(pq) / y, y the normal density at the p-quantile: the correlation with a normally
// distributed ability behind the right/wrong mark, for 0 < p < 1.
Index biserialFromPointBiserial(Index pointBiserial, double p);
