#include "analysis/StandardScores.h"

#include <cmath>
#include <cstdint>

void ComputeStandardScores(AnalysisResults& results)
{
    const std::size_t size = results.Score.size();
    results.ZScore.assign(size, 0.0);
    results.TScore.assign(size, 0.0);
    if (results.SD == 0)
        return;
    for (std::size_t i = 1; i + 1 < size; ++i) {
        results.ZScore[i] = zScore(results.Score[i], results.Mean, results.SD);
        results.TScore[i] = tScore(results.ZScore[i]);
    }
}

double zScore(double score, double mean, double sd)
{
    return sd == 0 ? 0 : (score - mean) / sd;
}

void ComputeReliability(const std::vector<int>& itemCorrect, int numStud, AnalysisResults& results)
{
    const int items = int(itemCorrect.size()) - 2;
    const double n = numStud;
    results.ItemPQ.assign(itemCorrect.size(), 0.0);
    results.SumPQ = 0;
    for (int j = 1; j <= items; ++j) {
        const std::int64_t right = itemCorrect[j];
        const double pq = (double(right * numStud) - double(right) * double(right)) / (n * n);
        results.ItemPQ[j] = pq;
        results.SumPQ += pq;
    }
    const double variance = results.SD * results.SD;
    results.KR20 = (double(items) / double(items - 1)) * (1 - results.SumPQ / variance);
    results.SEM = standardErrorOfMeasurement(results.SD, results.KR20);
}

double standardErrorOfMeasurement(double sd, double kr20)
{
    if (kr20 > 1)
        return 0;
    return sd * std::sqrt(1 - kr20);
}
