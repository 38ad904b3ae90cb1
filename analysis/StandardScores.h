#pragma once

#include "analysis/AnalysisResults.h"

#include <vector>

// Standard scores of the examinees and the reliability of the test.

// Z = (score − mean) / SD and T = 10 Z + 50; with an SD of 0 there is no spread to measure in, and Z
// is 0.
double zScore(double score, double mean, double sd);
inline double tScore(double z)
{
    return 10 * z + 50;
}

// Re-creates ZScore and TScore and fills them: Z = (Score - Mean) / SD, T = 10 Z + 50. With an SD of
// 0 there is no spread to measure in, and both stay all 0.
void ComputeStandardScores(AnalysisResults& results);

// KR-20 from the right answers per item (indexed 1..K) of the current data, with ItemPQ, SumPQ and
// SEM. Needs at least two items and an SD above 0.
void ComputeReliability(const std::vector<int>& itemCorrect, int numStud, AnalysisResults& results);

// The textbook standard error of measurement, SD × √(1 − KR20); 0 when KR20 is above 1, where the
// root would not exist.
double standardErrorOfMeasurement(double sd, double kr20);
