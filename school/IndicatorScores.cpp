#include "school/IndicatorScores.h"

#include "analysis/AnalysisResults.h"
#include "analysis/Answers.h"
#include "analysis/ScoreStatistics.h"
#include "analysis/StandardScores.h"

#include <cstdint>

namespace {

// KR-20 of the indicator's items exactly as the analysis run computes it for a whole test, so that
// the figure means the same: the run's own reliability step on the indicator's right-answer counts.
Index subTestKr20(const std::vector<int>& right, const std::vector<int>& scores)
{
    const int items = int(right.size());
    std::int64_t sum = 0, sumOfSquares = 0;
    for (const int score : scores) {
        sum += score;
        sumOfSquares += std::int64_t(score) * score;
    }
    AnalysisResults run;
    run.SD = sampleStandardDeviation(std::int64_t(scores.size()), sum, sumOfSquares);
    if (items < IndicatorKr20MinItems || run.SD == 0)
        return {};
    std::vector<int> itemCorrect(right.size() + 2, 0); // indexed 1..items, as the run's
    std::copy(right.begin(), right.end(), itemCorrect.begin() + 1);
    ComputeReliability(itemCorrect, int(scores.size()), run);
    return run.KR20;
}

} // namespace

bool reachesPassMark(int score, int items, double passMark)
{
    return 100.0 * score >= passMark * items;
}

IndicatorScores scoreIndicators(const TestData& data, const Blueprint& blueprint, double passMark)
{
    IndicatorScores result;
    result.passMark = passMark;
    result.examinees = data.NumStud;
    const std::size_t count = std::size_t(blueprint.indicators.size());
    result.scores.assign(count, std::vector<int>(std::size_t(data.NumStud), 0));
    const KeyUnits keys = keyUnits(data);
    for (std::size_t k = 0; k < count; ++k) {
        const QList<int>& items = blueprint.indicators[qsizetype(k)].items;
        std::vector<int> right(std::size_t(items.size()), 0);
        std::vector<int>& scores = result.scores[k];
        for (int i = 1; i <= data.NumStud; ++i) {
            const AnswerRow row = answerRow(data, i);
            for (qsizetype at = 0; at < items.size(); ++at)
                if (isRight(row, keys, items[at])) {
                    ++scores[std::size_t(i) - 1];
                    ++right[std::size_t(at)];
                }
        }
        std::int64_t sum = 0;
        int passing = 0;
        for (const int score : scores) {
            sum += score;
            passing += reachesPassMark(score, int(items.size()), passMark);
        }
        result.items.push_back(int(items.size()));
        result.meanPercent.push_back(
            data.NumStud ? 100.0 * double(sum) / (double(data.NumStud) * items.size()) : 0.0);
        result.kr20.push_back(subTestKr20(right, scores));
        result.passing.push_back(passing);
    }
    return result;
}
