#pragma once

// How likely chance alone is to give a figure: the tail probabilities behind how sure a verdict is.

// P(X ≤ k) for X ~ Binomial(n, p): the terms summed exactly up to 200 trials, beyond that the normal
// approximation with a continuity correction (the verdicts need a level, not many digits).
double binomialAtMost(int n, int k, double p);

// P(X ≥ k) for X ~ Binomial(n, p).
double binomialAtLeast(int n, int k, double p);

// Φ(z), the standard normal distribution function.
double normalBelow(double z);
