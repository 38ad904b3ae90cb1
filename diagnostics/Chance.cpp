#include "diagnostics/Chance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int ExactTrials = 200;

double binomialTerm(int n, int k, double p)
{
    if (p <= 0)
        return k == 0 ? 1 : 0;
    if (p >= 1)
        return k == n ? 1 : 0;
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) + k * std::log(p) +
                    (n - k) * std::log1p(-p));
}

} // namespace

double normalBelow(double z)
{
    return 0.5 * std::erfc(-z / std::numbers::sqrt2);
}

double binomialAtMost(int n, int k, double p)
{
    if (k < 0)
        return 0;
    if (k >= n)
        return 1;
    if (n <= ExactTrials) {
        double sum = 0;
        for (int j = 0; j <= k; ++j)
            sum += binomialTerm(n, j, p);
        return std::min(sum, 1.0);
    }
    const double sd = std::sqrt(n * p * (1 - p));
    if (sd == 0)
        return k >= n * p ? 1 : 0;
    return normalBelow((k + 0.5 - n * p) / sd);
}

double binomialAtLeast(int n, int k, double p)
{
    return binomialAtMost(n, n - k, 1 - p);
}
