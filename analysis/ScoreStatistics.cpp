#include "analysis/ScoreStatistics.h"

#include "analysis/Answers.h"
#include "analysis/Rounding.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

int examineeCount(const AnalysisResults& results)
{
    return int(results.Score.size()) - 2;
}

// Descending by score, equal scores in entry order. Scores are whole numbers from 0 to the number of
// items, so a counting sort gives that stable order in one pass over the examinees.
void rank(const TestData& data, AnalysisResults& results)
{
    const int n = data.NumStud;
    std::vector<int> firstRank(std::size_t(data.NumItems) + 2, 0); // per score, then its first rank
    for (int i = 1; i <= n; ++i)
        ++firstRank[std::size_t(results.Score[i])];
    int rank = 1;
    for (int score = data.NumItems; score >= 0; --score)
        rank += std::exchange(firstRank[score], rank);

    results.RankedScore.assign(std::size_t(n) + 2, 0.0);
    results.RankedRow.assign(std::size_t(n) + 2, 0);
    results.RankedID = makeTextArray(n);
    for (int i = 1; i <= n; ++i)
        results.RankedRow[firstRank[std::size_t(results.Score[i])]++] = i;
    for (int k = 1; k <= n; ++k) {
        const int row = results.RankedRow[k];
        results.RankedScore[k] = results.Score[row];
        results.RankedID[k] = data.StudID.value(row);
    }
}

// The score of one row; each right answer also counts for its item. The counts are 16-bit (an item
// is answered right by at most 32766 examinees), and the arrays never overlap, which lets the
// compiler compare many cells at a time.
template <typename Cell>
int scoreRow(const Cells<Cell>& answers, const KeyUnits& keys, std::uint16_t* itemCorrect)
{
    const KeyCells<Cell>& key = keys.of<Cell>();
    const Cell* __restrict const cells = answers.cells;
    const Cell* __restrict const keyOfItem = key.cell.data() + 1; // indexed from item 1, as the cells
    const Cell* __restrict const maskOfItem = key.mask.data() + 1;
    std::uint16_t* __restrict const correctOfItem = itemCorrect + 1;
    int score = 0;
    for (int j = 0; j < answers.count; ++j) {
        const std::uint16_t right = (cells[j] == keyOfItem[j] ? 1 : 0) & maskOfItem[j];
        score += right;
        correctOfItem[j] += right;
    }
    return score;
}

} // namespace

double sampleStandardDeviation(std::int64_t n, std::int64_t sum, std::int64_t sumOfSquares)
{
    if (n < 2)
        return 0; // undefined for one examinee; 0 makes the zero-SD check refuse what divides by it
    const std::int64_t spread = n * sumOfSquares - sum * sum;
    return std::sqrt(double(spread) / double(n * (n - 1)));
}

std::vector<int> ComputeScores(const TestData& data, AnalysisResults& results)
{
    const int n = data.NumStud;
    const KeyUnits key = keyUnits(data);
    std::vector<std::uint16_t> itemCorrect(std::size_t(data.NumItems) + 2, 0);

    results.Score.assign(std::size_t(n) + 2, 0.0);
    results.SumScore = 0;
    results.SumSquare = 0;
    for (int i = 1; i <= n; ++i) {
        const int score = answerRow(data, i).visit(
            [&](const auto& cells) { return scoreRow(cells, key, itemCorrect.data()); });
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
    return std::vector<int>(itemCorrect.begin(), itemCorrect.end());
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
    // The powers depend only on the score, a whole number up to the number of items: worked out once
    // per score, they are added up in entry order, rounding after every addition.
    struct Powers {
        double d2, d3, d4;
    };
    std::vector<Powers> powersOf(std::size_t(*std::max_element(results.Score.begin(), results.Score.end())) +
                                 1);
    for (std::size_t score = 0; score < powersOf.size(); ++score) {
        const double d = double(score) - results.Mean;
        const double d2 = d * d;
        powersOf[score] = {d2, d2 * d, d2 * d2};
    }
    std::int64_t sumDev2 = 0;
    std::int64_t sumDev3 = 0;
    __int128 sumDev4 = 0;
    for (int i = 1; i <= n; ++i) {
        const Powers& powers = powersOf[std::size_t(results.Score[i])];
        sumDev2 = addRounded(sumDev2, powers.d2);
        sumDev3 = addRounded(sumDev3, powers.d3);
        sumDev4 = addRounded(sumDev4, powers.d4);
    }
    if (sumDev2 == 0)
        return false;

    results.SumDev2 = sumDev2;
    results.SumDev3 = sumDev3;
    results.SumDev4 = sumDev4;
    const double moment2 = double(sumDev2) / n;
    const double moment3 = double(sumDev3) / n;
    const double moment4 = double(sumDev4) / n;
    // The squared moment coefficient, as the report has always printed it: never negative, so it tells
    // how strong the skew is, not its direction.
    results.Skewness = (moment3 * moment3) / (moment2 * moment2 * moment2);
    results.Kurtosis = moment4 / (moment2 * moment2);
    return true;
}
