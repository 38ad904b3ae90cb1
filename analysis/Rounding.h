#pragma once

#include <cmath>
#include <cstdint>

// Rounds to the nearest whole number, an exact half going to the even neighbour (2.5 gives 2,
// 3.5 gives 4, -2.5 gives -2).
double roundHalfEven(double x);

// The whole number nearest to sum + x, an exact half going to the even neighbour. The total is
// never formed in double: a large sum would lose its last units there. `Sum` is a signed integer
// type wide enough for the result; x stays below 2^63 in magnitude.
template <class Sum> Sum addRounded(Sum sum, double x)
{
    const double whole = std::floor(x);
    const double fraction = x - whole;          // exact, in [0, 1)
    Sum total = sum + Sum(std::int64_t(whole)); // through 64 bits: a direct conversion to 128 bits is slow
    if (fraction > 0.5 || (fraction == 0.5 && (total & 1) != 0)) // the low bit: odd, negatives too
        ++total;
    return total;
}
