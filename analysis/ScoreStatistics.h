#pragma once

#include "analysis/AnalysisResults.h"
#include "model/TestData.h"

#include <cstdint>
#include <vector>

// Scoring and the statistics of the raw scores.

// Scores every examinee against the key (an answer counts when it is exactly the key's character),
// ranks the examinees by score, highest first and equal scores in entry order, and computes SumScore,
// SumSquare, Mean, SD, Median and Mode. Needs at least one examinee; with one, SD is taken as 0 (the
// sample deviation is undefined). Returns the number of right answers per item, indexed 1..NumItems,
// gathered in the same pass.
std::vector<int> ComputeScores(const TestData& data, AnalysisResults& results);

// The sample standard deviation (divisor n − 1) of n scores from their sum and their sum of squares,
// as the run computes SD; 0 for fewer than two scores.
double sampleStandardDeviation(std::int64_t n, std::int64_t sum, std::int64_t sumOfSquares);

// MaxScore, MinScore and ScoreRange of the scores.
void ComputeRange(AnalysisResults& results);

// The running sums SumDev2..SumDev4, rounded after every addition in entry order, and from them
// Skewness and Kurtosis. When the rounded SumDev2 is 0 the two ratios would divide by zero: then
// nothing is stored and the result is false.
bool ComputeMoments(AnalysisResults& results);
