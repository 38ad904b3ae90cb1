#include "diagnostics/Correlations.h"

#include "diagnostics/NormalDistribution.h"

#include <cmath>

namespace {

// n² times the three moments of the mark x and the score X.
struct Moments {
    std::int64_t varianceOfScores; // n² Var(X)
    std::int64_t varianceOfMark;   // n² Var(x) = n² pq
    std::int64_t covariance;       // n² Cov(x, X)
};

Moments moments(const ScoreSums& s, const MarkSums& m)
{
    return {s.examinees * s.sumOfSquares - s.sum * s.sum, s.examinees * m.count - m.count * m.count,
            s.examinees * m.scoreSum - m.count * s.sum};
}

Index correlation(std::int64_t covariance, std::int64_t variance1, std::int64_t variance2)
{
    if (variance1 <= 0 || variance2 <= 0)
        return {};
    return double(covariance) / (std::sqrt(double(variance1)) * std::sqrt(double(variance2)));
}

// n² Var(X − x) = n² (Var X − 2 Cov(x, X) + Var x)
std::int64_t restVariance(const Moments& m)
{
    return m.varianceOfScores - 2 * m.covariance + m.varianceOfMark;
}

} // namespace

Index pointBiserial(const ScoreSums& scores, const MarkSums& mark)
{
    const Moments m = moments(scores, mark);
    return correlation(m.covariance, m.varianceOfMark, m.varianceOfScores);
}

Index restPointBiserial(const ScoreSums& scores, const MarkSums& right)
{
    const Moments m = moments(scores, right);
    // Cov(x, X − x) = Cov(x, X) − Var x
    return correlation(m.covariance - m.varianceOfMark, m.varianceOfMark, restVariance(m));
}

Index restSampleVariance(const ScoreSums& scores, const MarkSums& right)
{
    const std::int64_t n = scores.examinees;
    if (n < 2)
        return {};
    return double(restVariance(moments(scores, right))) / (double(n) * double(n - 1));
}

Index biserialFromPointBiserial(Index pointBiserial, double p)
{
    if (!pointBiserial || p <= 0 || p >= 1)
        return {};
    return *pointBiserial * std::sqrt(p * (1 - p)) / normalDensity(normalQuantile(p));
}
