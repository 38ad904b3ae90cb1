#pragma once

#include <QLatin1StringView>
#include <QString>

#include <array>
#include <cstdint>

// A number as the report prints it: ASCII characters held in place, so that the tens of thousands
// of numbers of a large report cost no allocation each.
class NumberText {
public:
    QLatin1StringView view() const { return {chars_.data(), size_}; }
    QString toString() const { return view().toString(); }

    // For the formatting functions, which know the widest text they write.
    void append(char c) { chars_[size_++] = c; }

private:
    // Room for the widest double in the widest style: a sign, 309 digits with 102 group commas,
    // the point and three decimals.
    std::array<char, 424> chars_;
    qsizetype size_ = 0;
};

// The number styles of the report. Every style rounds the value's 15-significant-digit decimal form
// to the decimals shown, halves away from zero, and a value that rounds to zero shows no minus
// sign. None depends on the process locale.

// "standard": 1,234.50 — thousands grouped by commas, two decimals, a minus sign before negatives.
NumberText formatStandard(double value);
// "#0.000": 0.800 — no grouping, three decimals.
NumberText formatThreeDecimals(double value);
// "#0.00": 0.80 — no grouping, two decimals.
NumberText formatTwoDecimals(double value);
// "#0.0": 12.4 — no grouping, one decimal.
NumberText formatOneDecimal(double value);
// A plain number or count: a space or a minus sign, the whole number's digits, one trailing space
// (" 40 ", "-3 ").
NumberText formatPlainNumber(double value);
// An integer joined into a text: its digits alone, a minus sign when negative ("23", "-5").
NumberText formatJoinedInteger(std::int64_t value);
