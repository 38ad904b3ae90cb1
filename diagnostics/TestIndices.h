#pragma once

#include "diagnostics/Correlations.h"
#include "diagnostics/Index.h"

#include <array>
#include <cstdint>
#include <vector>

// Indices of the whole test and of each examinee's standing in the class.

inline constexpr int ScoreGroups = 5;

// The five score groups of the ranking: group g (1 = the highest scores) holds ranks
// bounds[g − 1] + 1 to bounds[g], bounds[g] = ⌊g n / 5⌋. Small classes leave some groups empty.
std::array<int, ScoreGroups + 1> scoreGroupBounds(int examinees);

// KR-20 exactly as the analysis run computes it: K/(K − 1) × (1 − Σpq / SD²), pq on divisor n and SD
// the sample deviation (divisor n − 1). Undefined for fewer than 2 items or an SD of 0.
Index programKr20(int items, double sumPQ, double sd);

// Cronbach's α = K/(K − 1) × (1 − Σ s_j² / s_X²) with the item and the total variances on one divisor
// (either n or n − 1: it cancels). `itemVariances` is Σ n² s_j² on divisor n, that is Σ (n R_j − R_j²)
// for right/wrong items, whose variance is pq: so α is KR-20 with one divisor throughout.
Index cronbachAlpha(int items, std::int64_t itemVariances, const ScoreSums& scores);

// KR-21 = K/(K − 1) × (1 − M (K − M) / (K s²)), s² the sample variance (divisor n − 1) as in KR-20.
Index kr21(int items, double mean, double sd);

// The standard error of measurement in score points, SD × √(1 − KR-20), 0 when KR-20 is above 1; the
// band of an examinee is the score ± this value.
Index standardError(double sd, Index kr20);

// The percentile rank of every score 0..items: (examinees below + half of those with that score) / n
// × 100, from the number of examinees per score.
std::vector<double> percentileRanks(const std::vector<int>& histogram, int examinees);

// The stanine of a percentile rank: cut at 4, 11, 23, 40, 60, 77, 89 and 96 (the 4-7-12-17-20-17-12-7-4
// per cent bands); a rank on a cut belongs to the higher stanine.
int stanine(double percentileRank);
