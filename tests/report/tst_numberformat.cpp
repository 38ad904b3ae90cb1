// The report's number styles: rounding of the 15-digit decimal form, grouping, signs.
#include "report/NumberFormat.h"

#include <QTest>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>

namespace {

// A naive reference for magnitudes from 1e-4 to below a million: the "%.14e" form read as a
// 15-digit whole number and a power of ten, then rounded to `decimals` by integer division.
QString roundedByReference(double value, int decimals)
{
    char form[32];
    std::snprintf(form, sizeof form, "%.14e", std::fabs(value));
    const std::uint64_t mantissa = QString::fromLatin1(form, 16).remove('.').toULongLong();
    const int exponent = std::atoi(form + 17);
    std::uint64_t divisor = 1;
    for (int k = 14 - exponent - decimals; k > 0; --k)
        divisor *= 10;
    const std::uint64_t units = mantissa / divisor + (mantissa % divisor * 2 >= divisor ? 1 : 0);
    QString digits = QString::number(units).rightJustified(decimals + 1, '0');
    digits.insert(digits.size() - decimals, '.');
    return (value < 0 && units != 0 ? "-" : "") + digits;
}

enum class Values { Spread, Halves, NextToHalves };

} // namespace

Q_DECLARE_METATYPE(Values)

class NumberFormatTest : public QObject {
    Q_OBJECT

private slots:
    void decimalStyles_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double infinity = std::numeric_limits<double>::infinity();

        // 227/40 is 5.67499999999999982... in binary, but 5.67500000000000 to 15 digits.
        QTest::newRow("a mean of 227/40 rounds up from its 15-digit form")
            << "standard" << 227.0 / 40 << "5.68";
        QTest::newRow("0.125 rounds half away from zero") << "standard" << 0.125 << "0.13";
        QTest::newRow("-0.5 keeps its minus sign") << "standard" << -0.5 << "-0.50";
        QTest::newRow("a whole number gets two zero decimals") << "standard" << 25.0 << "25.00";
        QTest::newRow("zero") << "standard" << 0.0 << "0.00";
        QTest::newRow("negative zero shows no minus sign") << "standard" << -0.0 << "0.00";
        QTest::newRow("0.005 rounds up to one hundredth") << "standard" << 0.005 << "0.01";
        QTest::newRow("-0.004 rounds to zero without a minus sign") << "standard" << -0.004 << "0.00";
        QTest::newRow("1.005 rounds up though its binary value lies below the half")
            << "standard" << 1.005 << "1.01";
        QTest::newRow("9.995 carries into a new tens digit") << "standard" << 9.995 << "10.00";
        QTest::newRow("999.995 carries into a thousands group") << "standard" << 999.995 << "1,000.00";
        QTest::newRow("1234.5 is grouped") << "standard" << 1234.5 << "1,234.50";
        QTest::newRow("a million has two commas") << "standard" << 1e6 << "1,000,000.00";
        QTest::newRow("negative thousands group after the minus sign")
            << "standard" << -1234567.891 << "-1,234,567.89";
        QTest::newRow("-999.5 has no comma after the minus sign") << "standard" << -999.5 << "-999.50";
        QTest::newRow("digits past the fifteenth print as zeros")
            << "standard" << 123456789012345678.0 << "123,456,789,012,346,000.00";
        QTest::newRow("a value far below a hundredth prints as zero") << "standard" << 1e-300 << "0.00";
        QTest::newRow("not a number prints without crashing") << "standard" << nan << "nan";
        QTest::newRow("minus infinity prints without crashing") << "standard" << -infinity << "-inf";

        QTest::newRow("0.8 with three decimals") << "#0.000" << 0.8 << "0.800";
        QTest::newRow("0.0005 rounds up to one thousandth") << "#0.000" << 0.0005 << "0.001";
        QTest::newRow("-0.0005 rounds away from zero") << "#0.000" << -0.0005 << "-0.001";
        QTest::newRow("-0.0004 rounds to zero without a minus sign") << "#0.000" << -0.0004 << "0.000";
        QTest::newRow("a reliability of 0.906667") << "#0.000" << 0.9066666666666666 << "0.907";
        QTest::newRow("three decimals never group") << "#0.000" << 1234.5678 << "1234.568";
        QTest::newRow("the largest double prints whole")
            << "#0.000" << std::numeric_limits<double>::max()
            << QString("179769313486232" + QString(294, '0') + ".000");

        QTest::newRow("one third with two decimals") << "#0.00" << 1.0 / 3 << "0.33";
        QTest::newRow("two thirds round up") << "#0.00" << 2.0 / 3 << "0.67";
        QTest::newRow("minus one third") << "#0.00" << -1.0 / 3 << "-0.33";
        QTest::newRow("an index of exactly 1") << "#0.00" << 1.0 << "1.00";
        QTest::newRow("-0.001 rounds to zero without a minus sign") << "#0.00" << -0.001 << "0.00";
        QTest::newRow("two decimals never group") << "#0.00" << 1234.5 << "1234.50";

        QTest::newRow("a percentile rank of 12.35 rounds up like the rest") << "#0.0" << 12.35 << "12.4";
        QTest::newRow("a percentile rank of 1.25 rounds half away from zero") << "#0.0" << 1.25 << "1.3";
        QTest::newRow("one decimal of 100") << "#0.0" << 100.0 << "100.0";

        QTest::newRow("a plain number has a leading and a trailing space") << "plain" << 40.0 << " 40 ";
        QTest::newRow("a plain negative number starts with its minus sign") << "plain" << -3.0 << "-3 ";
        QTest::newRow("a plain negative zero shows no minus sign") << "plain" << -0.0 << " 0 ";
        QTest::newRow("a plain number never groups") << "plain" << 32766.0 << " 32766 ";
    }

    void decimalStyles()
    {
        QFETCH(QString, style);
        QFETCH(double, value);
        QFETCH(QString, expected);
        const auto format = style == "standard" ? formatStandard
                            : style == "#0.000" ? formatThreeDecimals
                            : style == "#0.00"  ? formatTwoDecimals
                            : style == "#0.0"   ? formatOneDecimal
                                                : formatPlainNumber;
        QCOMPARE(format(value).toString(), expected);
    }

    // Random values with a fixed seed, many of them exactly on or next to a half of the last
    // decimal, where the quick rounding must give way to the 15-digit form.
    void decimalsAgreeWithAReference_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<int>("decimals");
        QTest::newRow("values spread over ten decades, two decimals") << Values::Spread << 2;
        QTest::newRow("values spread over ten decades, three decimals") << Values::Spread << 3;
        QTest::newRow("the doubles nearest to halves of a hundredth") << Values::Halves << 2;
        QTest::newRow("the doubles nearest to halves of a thousandth") << Values::Halves << 3;
        QTest::newRow("the neighbours of those next to halves of a hundredth") << Values::NextToHalves << 2;
        QTest::newRow("the neighbours of those next to halves of a thousandth") << Values::NextToHalves << 3;
    }

    void decimalsAgreeWithAReference()
    {
        QFETCH(Values, values);
        QFETCH(int, decimals);
        const double scale = std::pow(10.0, decimals);
        std::mt19937_64 random(20240607);
        std::uniform_real_distribution<double> decade(-4, 6);
        std::uniform_int_distribution<std::int64_t> units(0, std::int64_t(1e6 * scale) - 1);
        for (int n = 0; n < 20000; ++n) {
            const double sign = n % 2 ? -1 : 1;
            double value = sign * std::pow(10.0, decade(random));
            if (values != Values::Spread)
                value = sign * (double(units(random)) + 0.5) / scale;
            if (values == Values::NextToHalves)
                value = std::nextafter(value, n % 4 < 2 ? 0.0 : 2 * value);
            const QString formatted =
                (decimals == 2 ? formatTwoDecimals(value) : formatThreeDecimals(value)).toString();
            if (formatted != roundedByReference(value, decimals))
                QFAIL(qPrintable(QStringLiteral("%1 gave %2, the reference %3")
                                     .arg(value, 0, 'g', 17)
                                     .arg(formatted, roundedByReference(value, decimals))));
        }
    }

    void joinedIntegers_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("digits alone") << qint64(23) << "23";
        QTest::newRow("zero") << qint64(0) << "0";
        QTest::newRow("a minus sign and no spaces") << qint64(-5) << "-5";
        QTest::newRow("no grouping") << qint64(32767) << "32767";
    }

    void joinedIntegers()
    {
        QFETCH(qint64, value);
        QFETCH(QString, expected);
        QCOMPARE(formatJoinedInteger(value).toString(), expected);
    }
};

QTEST_APPLESS_MAIN(NumberFormatTest)
#include "tst_numberformat.moc"
