#include "analysis/Rounding.h"

double roundHalfEven(double x)
{
    const double whole = std::floor(x);
    const double fraction = x - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0))
        return whole + 1;
    return whole;
}
