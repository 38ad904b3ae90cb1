#include "diagnostics/TestIndices.h"

#include "analysis/StandardScores.h"

#include <algorithm>

std::array<int, ScoreGroups + 1> scoreGroupBounds(int examinees)
{
    std::array<int, ScoreGroups + 1> bounds{};
    for (int g = 1; g <= ScoreGroups; ++g)
        bounds[g] = g * examinees / ScoreGroups;
    return bounds;
}

Index programKr20(int items, double sumPQ, double sd)
{
    if (items < 2 || sd == 0)
        return {};
    return (double(items) / double(items - 1)) * (1 - sumPQ / (sd * sd));
}

Index cronbachAlpha(int items, std::int64_t itemVariances, const ScoreSums& scores)
{
    const std::int64_t scoreVariance = scores.examinees * scores.sumOfSquares - scores.sum * scores.sum;
    if (items < 2 || scoreVariance <= 0)
        return {};
    return (double(items) / double(items - 1)) * (1 - double(itemVariances) / double(scoreVariance));
}

Index kr21(int items, double mean, double sd)
{
    if (items < 2 || sd == 0)
        return {};
    return (double(items) / double(items - 1)) * (1 - mean * (items - mean) / (items * sd * sd));
}

Index standardError(double sd, Index kr20)
{
    if (!kr20)
        return {};
    return standardErrorOfMeasurement(sd, *kr20);
}

std::vector<double> percentileRanks(const std::vector<int>& histogram, int examinees)
{
    std::vector<double> ranks(histogram.size(), 0.0);
    std::int64_t below = 0;
    for (std::size_t score = 0; score < histogram.size(); ++score) {
        ranks[score] = (double(below) + histogram[score] / 2.0) / examinees * 100;
        below += histogram[score];
    }
    return ranks;
}

int stanine(double percentileRank)
{
    static constexpr double cuts[] = {4, 11, 23, 40, 60, 77, 89, 96};
    return 1 + int(std::upper_bound(std::begin(cuts), std::end(cuts), percentileRank) - std::begin(cuts));
}
