#include "analysis/ScoreStatistics.h"

#include "analysis/Answers.h"
#include "analysis/Rounding.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

int examineeCount(const AnalysisResults& results)
{
    return int(results.Score.size()) - 2;
}

// Descending by score; the stable sort keeps equal scores in entry order.
void rank(const TestData& data, AnalysisResults& results)
{
    const int n = data.NumStud;
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return results.Score[a] > results.Score[b]; });

    results.RankedScore.assign(std::size_t(n) + 2, 0.0);
    results.RankedRow.assign(std::size_t(n) + 2, 0);
    results.RankedID = makeTextArray(n);
    for (int k = 1; k <= n; ++k) {
        const int row = order[k - 1];
        results.RankedRow[k] = row;
        results.RankedScore[k] = results.Score[row];
        results.RankedID[k] = data.StudID.value(row);
    }
}

double sampleStandardDeviation(std::int64_t n, std::int64_t sum, std::int64_t sumOfSquares)
{
    if (n < 2)
        return 0; // undefined for one examinee; 0 makes the zero-SD check refuse what divides by it
    const std::int64_t spread = n * sumOfSquares - sum * sum;
    return std::sqrt(double(spread) / double(n * (n - 1)));
}

// The score of one row; each right answer also counts for its item.
int scoreRow(const AnswerRow& answers, const int* key, int* itemCorrect)
{
    int score = 0;
    for (int j = 1; j <= answers.count; ++j) {
        const int right = answers.cells[j] == key[j];
        score += right;
        itemCorrect[j] += right;
    }
    return score;
}

} // namespace

std::vector<int> ComputeScores(const TestData& data, AnalysisResults& results)
{
    const int n = data.NumStud;
    const std::vector<int> key = keyUnits(data);
    std::vector<int> itemCorrect(std::size_t(data.NumItems) + 2, 0);

    results.Score.assign(std::size_t(n) + 2, 0.0);
    results.SumScore = 0;
    results.SumSquare = 0;
    for (int i = 1; i <= n; ++i) {
        const int score = scoreRow(answerRow(data, i), key.data(), itemCorrect.data());
        results.Score[i] = score;
        results.SumScore += score;
        results.SumSquare += std::int64_t(score) * score;
    }

    results.Mean = double(results.SumScore) / n;
    results.SD = sampleStandardDeviation(n, results.SumScore, results.SumSquare);
    rank(data, results);

    const int middle = (n + 1) / 2;
    const double median = n % 2 == 1 ? results.RankedScore[middle]
                                     : (results.RankedScore[middle] + results.RankedScore[middle + 1]) / 2;
    results.Median = int(roundHalfEven(median));
    results.Mode = int(roundHalfEven(3 * results.Median - 2 * results.Mean));
    return itemCorrect;
}

void ComputeRange(AnalysisResults& results)
{
    const auto first = results.Score.begin() + 1;
    const auto [lowest, highest] = std::minmax_element(first, first + examineeCount(results));
    results.MaxScore = int(*highest);
    results.MinScore = int(*lowest);
    results.ScoreRange = results.MaxScore - results.MinScore;
}

bool ComputeMoments(AnalysisResults& results)
{
    const int n = examineeCount(results);
    std::int64_t sumDev2 = 0;
    std::int64_t sumDev3 = 0;
    __int128 sumDev4 = 0;
    for (int i = 1; i <= n; ++i) {
        const double d = results.Score[i] - results.Mean;
        const double d2 = d * d;
        sumDev2 = addRounded(sumDev2, d2);
        sumDev3 = addRounded(sumDev3, d2 * d);
        sumDev4 = addRounded(sumDev4, d2 * d2);
    }
    if (sumDev2 == 0)
        return false;

    results.SumDev2 = sumDev2;
    results.SumDev3 = sumDev3;
    results.SumDev4 = sumDev4;
    const double moment2 = double(sumDev2) / n;
    const double moment3 = double(sumDev3) / n;
    const double moment4 = double(sumDev4) / n;
    results.Skewness = (moment3 * moment3) / (moment2 * moment2 * moment2);
    results.Kurtosis = moment4 / (moment2 * moment2);
    return true;
}
