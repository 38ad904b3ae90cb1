#include "report/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int SignificantDigits = 15;

// The digits of |value| rounded to a number of decimals: integer digits (at least one) followed by
// the decimals, without a point.
struct RoundedDigits {
    std::array<char, 330> digits;
    int integerDigits = 0;
    int size = 0;
    bool negative = false; // only when the rounded value is not zero
};

// Rounds the 15-significant-digit decimal form of `magnitude`, d.dddddddddddddde±x as printf's
// "%.14e" gives it.
void roundDecimalForm(double magnitude, int decimals, RoundedDigits& rounded)
{
    char form[32];
    const auto end = std::to_chars(form, form + sizeof form, magnitude, std::chars_format::scientific,
                                   SignificantDigits - 1)
                         .ptr;
    char significant[SignificantDigits];
    significant[0] = form[0];
    std::copy(form + 2, form + 1 + SignificantDigits, significant + 1);
    const char* exponentSign = form + 2 + SignificantDigits; // just after the 'e'
    int exponent = 0;
    std::from_chars(exponentSign + 1, end, exponent);
    if (*exponentSign == '-')
        exponent = -exponent;

    // Digit p of the result stands for 10^(integerDigits - 1 - p), which is significant digit
    // exponent - (integerDigits - 1 - p) of the decimal form.
    rounded.integerDigits = std::max(exponent + 1, 1);
    rounded.size = rounded.integerDigits + decimals;
    const int firstSignificant = exponent - (rounded.integerDigits - 1);
    for (int p = 0; p < rounded.size; ++p) {
        const int s = firstSignificant + p;
        rounded.digits[p] = s >= 0 && s < SignificantDigits ? significant[s] : '0';
    }

    // The first digit dropped decides; rounding up the magnitude rounds halves away from zero.
    const int dropped = firstSignificant + rounded.size;
    if (dropped >= 0 && dropped < SignificantDigits && significant[dropped] >= '5') {
        int p = rounded.size - 1;
        for (; p >= 0 && rounded.digits[p] == '9'; --p)
            rounded.digits[p] = '0';
        if (p >= 0) {
            ++rounded.digits[p];
        } else { // 9.995 became 10.00: one more integer digit
            std::copy_backward(rounded.digits.begin(), rounded.digits.begin() + rounded.size,
                               rounded.digits.begin() + rounded.size + 1);
            rounded.digits[0] = '1';
            ++rounded.integerDigits;
            ++rounded.size;
        }
    }
}

// The shortcut for the common case, about three times faster. Below a million and with at most
// three decimals, the 15-digit form and the product magnitude * 10^decimals both lie within 1e-6
// of the exact scaled value, so a scaled fraction further than 1e-5 from one half rounds the same
// way for all three. Returns false when the fraction is too close to call.
bool roundScaled(double magnitude, int decimals, RoundedDigits& rounded)
{
    constexpr double scales[] = {1, 10, 100, 1000};
    if (!(magnitude < 1e6) || decimals > 3)
        return false;
    const double scaled = magnitude * scales[decimals];
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) <= 1e-5)
        return false;
    const auto units = std::uint64_t(whole) + (fraction > 0.5 ? 1 : 0);
    char digits[24];
    const int length = int(std::to_chars(digits, digits + sizeof digits, units).ptr - digits);
    rounded.size = std::max(length, decimals + 1); // at least one digit before the point
    rounded.integerDigits = rounded.size - decimals;
    const int padding = rounded.size - length;
    std::fill_n(rounded.digits.begin(), padding, '0');
    std::copy_n(digits, length, rounded.digits.begin() + padding);
    return true;
}

RoundedDigits roundToDecimals(double value, int decimals)
{
    RoundedDigits rounded;
    if (!roundScaled(std::fabs(value), decimals, rounded))
        roundDecimalForm(std::fabs(value), decimals, rounded);
    const auto digitsEnd = rounded.digits.begin() + rounded.size;
    rounded.negative =
        value < 0 && std::any_of(rounded.digits.begin(), digitsEnd, [](char c) { return c != '0'; });
    return rounded;
}

// NaN and infinities never come from the analysis; they print as C would print them rather than as
// digits.
bool appendNonFinite(NumberText& text, double value)
{
    if (std::isfinite(value))
        return false;
    char form[8];
    const char* end = std::to_chars(form, form + sizeof form, value).ptr;
    for (const char* c = form; c != end; ++c)
        text.append(*c);
    return true;
}

void appendDigits(NumberText& text, const RoundedDigits& rounded, bool grouped)
{
    for (int p = 0; p < rounded.integerDigits; ++p) {
        const int left = rounded.integerDigits - p; // integer digits from here to the point
        if (grouped && p > 0 && left % 3 == 0)
            text.append(',');
        text.append(rounded.digits[p]);
    }
    if (rounded.size > rounded.integerDigits)
        text.append('.');
    for (int p = rounded.integerDigits; p < rounded.size; ++p)
        text.append(rounded.digits[p]);
}

NumberText formatFixed(double value, int decimals, bool grouped)
{
    NumberText text;
    if (appendNonFinite(text, value))
        return text;
    const RoundedDigits rounded = roundToDecimals(value, decimals);
    if (rounded.negative)
        text.append('-');
    appendDigits(text, rounded, grouped);
    return text;
}

} // namespace

NumberText formatStandard(double value)
{
    return formatFixed(value, 2, true);
}

NumberText formatThreeDecimals(double value)
{
    return formatFixed(value, 3, false);
}

NumberText formatTwoDecimals(double value)
{
    return formatFixed(value, 2, false);
}

NumberText formatOneDecimal(double value)
{
    return formatFixed(value, 1, false);
}

NumberText formatPlainNumber(double value)
{
    NumberText text;
    if (appendNonFinite(text, value))
        return text;
    // Scores and counts are whole numbers; anything else would show rounded to one.
    const RoundedDigits rounded = roundToDecimals(value, 0);
    text.append(rounded.negative ? '-' : ' ');
    appendDigits(text, rounded, false);
    text.append(' ');
    return text;
}

NumberText formatJoinedInteger(std::int64_t value)
{
    NumberText text;
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (const char* c = digits; c != end; ++c)
        text.append(*c);
    return text;
}
