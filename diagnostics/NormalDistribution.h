#pragma once

// The standard normal distribution, for the biserial correlation.

// The density φ(z) = e^(−z²/2) / √(2π).
double normalDensity(double z);

// The quantile Φ⁻¹(p) for 0 < p < 1, to about 1e-15 relative error.
double normalQuantile(double p);
