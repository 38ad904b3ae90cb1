#include "AnalysisFixtures.h"

#include "MessageRecorder.h"
#include "analysis/AnalysisRun.h"
#include "analysis/ItemAnalysis.h"
#include "analysis/Rounding.h"
#include "analysis/ScoreStatistics.h"

#include <QTest>

#include <cmath>

class TestScores : public QObject {
    Q_OBJECT
private slots:
    void scoreStatistics_data();
    void scoreStatistics();
    void ranking_data();
    void ranking();
    void moments_data();
    void moments();
    void answerMatching_data();
    void answerMatching();
    void addRounded_data();
    void addRounded();
    void hugeRunningSumsStayExact();
    void largestClassNeedsNoOverflowingProduct();
    void largestDeviationsNeedA128BitFourthPowerSum();
};

void TestScores::scoreStatistics_data()
{
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<qint64>("sum");
    QTest::addColumn<qint64>("sumOfSquares");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("sd");
    QTest::addColumn<int>("median");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("range");

    QTest::newRow("scores 8 6 6 5 3")
        << QList{8, 6, 6, 5, 3} << 28ll << 170ll << 5.6 << std::sqrt(3.3) << 6 << 7 << 8 << 3 << 5;
    // Median 6.5 and mode 18 - 12.5 = 5.5 both round to the even 6.
    QTest::newRow("scores 9 7 6 3") << QList{9, 7, 6, 3} << 25ll << 175ll << 6.25 << 2.5 << 6 << 6 << 9 << 3
                                    << 6;
    QTest::newRow("scores 3 7 6 9 give the same")
        << QList{3, 7, 6, 9} << 25ll << 175ll << 6.25 << 2.5 << 6 << 6 << 9 << 3 << 6;
    QTest::newRow("middle scores 8 and 7 give a median of 8")
        << QList{8, 7} << 15ll << 113ll << 7.5 << std::sqrt(0.5) << 8 << 9 << 8 << 7 << 1;
    QTest::newRow("middle scores 7 and 6 give a median of 6")
        << QList{7, 6} << 13ll << 85ll << 6.5 << std::sqrt(0.5) << 6 << 5 << 7 << 6 << 1;
    // Median 0, mean 1.25: the mode 0 - 2.5 rounds to the even -2.
    QTest::newRow("a mode of -2.5 rounds to -2")
        << QList{5, 0, 0, 0} << 5ll << 25ll << 1.25 << 2.5 << 0 << -2 << 5 << 0 << 5;
    QTest::newRow("equal scores have an SD of 0")
        << QList{4, 4, 4} << 12ll << 48ll << 4.0 << 0.0 << 4 << 4 << 4 << 4 << 0;
    QTest::newRow("one examinee has an SD taken as 0")
        << QList{5} << 5ll << 25ll << 5.0 << 0.0 << 5 << 5 << 5 << 5 << 0;
}

void TestScores::scoreStatistics()
{
    QFETCH(QList<int>, scores);
    AnalysisResults results;
    ComputeScores(dataWithScores(scores), results);
    ComputeRange(results);

    QCOMPARE(used(results.Score), QList<double>(scores.begin(), scores.end()));
    QFETCH(qint64, sum);
    QFETCH(qint64, sumOfSquares);
    QFETCH(double, mean);
    QFETCH(double, sd);
    QFETCH(int, median);
    QFETCH(int, mode);
    QFETCH(int, highest);
    QFETCH(int, lowest);
    QFETCH(int, range);
    QCOMPARE(qint64(results.SumScore), sum);
    QCOMPARE(qint64(results.SumSquare), sumOfSquares);
    QCOMPARE(results.Mean, mean);
    QCOMPARE(results.SD, sd);
    QCOMPARE(results.Median, median);
    QCOMPARE(results.Mode, mode);
    QCOMPARE(results.MaxScore, highest);
    QCOMPARE(results.MinScore, lowest);
    QCOMPARE(results.ScoreRange, range);
}

void TestScores::ranking_data()
{
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QList<double>>("rankedScores");
    QTest::addColumn<QStringList>("rankedIds");
    QTest::addColumn<QList<int>>("rankedRows");

    QTest::newRow("scores 3 7 6 9 rank highest first")
        << QList{3, 7, 6, 9} << QStringList{"A", "B", "C", "D"} << QList<double>{9, 7, 6, 3}
        << QStringList{"D", "B", "C", "A"} << QList{4, 2, 3, 1};
    QTest::newRow("equal scores keep their entry order")
        << QList{5, 7, 5, 7, 5} << QStringList{"A", "B", "C", "D", "E"} << QList<double>{7, 7, 5, 5, 5}
        << QStringList{"B", "D", "A", "C", "E"} << QList{2, 4, 1, 3, 5};
    QTest::newRow("equal identifiers keep their own rows")
        << QList{1, 3, 2} << QStringList{"X", "Y", "X"} << QList<double>{3, 2, 1}
        << QStringList{"Y", "X", "X"} << QList{2, 3, 1};
}

void TestScores::ranking()
{
    QFETCH(QList<int>, scores);
    QFETCH(QStringList, ids);
    TestData data = dataWithScores(scores);
    for (int i = 1; i <= data.NumStud; ++i)
        data.StudID[i] = ids[i - 1];
    AnalysisResults results;
    ComputeScores(data, results);

    QTEST(used(results.RankedScore), "rankedScores");
    QTEST(results.RankedID.mid(1, data.NumStud), "rankedIds");
    QTEST(used(results.RankedRow), "rankedRows");
}

void TestScores::moments_data()
{
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<qint64>("sumDev2");
    QTest::addColumn<qint64>("sumDev3");
    QTest::addColumn<qint64>("sumDev4");
    QTest::addColumn<double>("skewness");
    QTest::addColumn<double>("kurtosis");

    QTest::newRow("scores 8 6 6 5 3")
        << QList{8, 6, 6, 5, 3} << 13ll << -4ll << 79ll << 0.64 / 17.576 << 15.8 / 6.76;
    // d = 2.75, 0.75, -0.25, -3.25; d² sums 7.5625 → 8, 8.5625 → 9, 9.0625 → 9, 19.5625 → 20.
    QTest::newRow("scores 9 7 6 3") << QList{9, 7, 6, 3} << 20ll << -13ll << 169ll << 0.0845 << 1.69;
    // d = 1.5, -0.5, -0.5, -0.5: each 0.25 is lost to the rounding, SumDev2 is 2 where the exact sum is 3.
    QTest::newRow("rounding after every addition loses small deviations")
        << QList{2, 0, 0, 0} << 2ll << 3ll << 5ll << (0.75 * 0.75) / (0.5 * 0.5 * 0.5) << 1.25 / 0.25;
}

void TestScores::moments()
{
    QFETCH(QList<int>, scores);
    AnalysisResults results;
    ComputeScores(dataWithScores(scores), results);
    QVERIFY(ComputeMoments(results));

    QTEST(qint64(results.SumDev2), "sumDev2");
    QTEST(qint64(results.SumDev3), "sumDev3");
    QTEST(qint64(results.SumDev4), "sumDev4");
    QFETCH(double, skewness);
    QFETCH(double, kurtosis);
    QCOMPARE(results.Skewness, skewness);
    QCOMPARE(results.Kurtosis, kurtosis);
}

void TestScores::answerMatching_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("score");

    QTest::newRow("answers equal to the key score") << "1234"
                                                    << "1234" << 4;
    QTest::newRow("a lower-case answer to an upper-case key scores 0") << "AB"
                                                                       << "aB" << 1;
    QTest::newRow("a blank answer scores 0") << "12"
                                             << " 2" << 1;
    QTest::newRow("items past the end of a short answer score 0") << "1234"
                                                                  << "12" << 2;
    QTest::newRow("answers past the last item are not read") << "12"
                                                             << "1234" << 2;
    QTest::newRow("a blank key is matched by a blank answer") << " 2"
                                                              << " 2" << 2;
    QTest::newRow("a Thai key is matched by the Thai answer") << "กข"
                                                              << "กค" << 1;
    QTest::newRow("a key outside the Thai code page is matched by the same answer") << "\u24602"
                                                                                    << "\u24602" << 2;
    QTest::newRow("a key outside the Thai code page is not matched by a '?'") << "\u24602"
                                                                              << "?2" << 1;
    QTest::newRow("an answer outside the Thai code page does not match its neighbours") << "12"
                                                                                        << "\u24602" << 1;
}

void TestScores::answerMatching()
{
    QFETCH(QString, key);
    QFETCH(QString, answers);
    AnalysisResults results;
    ComputeScores(makeTestData(key, {answers}), results);
    QTEST(int(results.Score[1]), "score");
}

void TestScores::addRounded_data()
{
    QTest::addColumn<qint64>("sum");
    QTest::addColumn<double>("added");
    QTest::addColumn<qint64>("total");

    QTest::newRow("a quarter is lost") << 0ll << 0.25 << 0ll;
    QTest::newRow("a half onto an even sum stays") << 2ll << 0.5 << 2ll;
    QTest::newRow("a half onto an odd sum goes up to even") << 3ll << 0.5 << 4ll;
    QTest::newRow("a negative half goes to the even -4") << -3ll << -0.5 << -4ll;
    QTest::newRow("a negative half onto an even sum stays") << -2ll << -0.5 << -2ll;
    QTest::newRow("a negative fraction below a half is lost") << 5ll << -0.125 << 5ll;
    QTest::newRow("a large power keeps its whole part") << 8ll << 111.56640625 << 120ll;
}

void TestScores::addRounded()
{
    QFETCH(qint64, sum);
    QFETCH(double, added);
    QTEST(::addRounded(sum, added), "total");
}

void TestScores::hugeRunningSumsStayExact()
{
    // Beyond 2^53 a double cannot hold every whole number: the sum must never pass through one.
    const qint64 big = (qint64(1) << 60) + 1;
    QCOMPARE(::addRounded(big, 0.5), big + 1);
    QCOMPARE(::addRounded(big, 2.5), big + 3);
    const __int128 huge = (__int128(1) << 100) + 1;
    QVERIFY(::addRounded(huge, 1.5) == huge + 1);
    QVERIFY(::addRounded(huge, 1e18) == huge + __int128(1000000000000000000ll));
}

void TestScores::largestClassNeedsNoOverflowingProduct()
{
    // 32766 examinees, alternately all 300 items right and all wrong: n × SumSquare and SumScore²
    // pass 2^31, and so would 16-bit n × (n - 1) and R × n.
    const int n = MaxCount;
    const int items = 300;
    QList<int> scores;
    for (int i = 0; i < n; ++i)
        scores << (i % 2 == 0 ? items : 0);
    TestData data = dataWithScores(scores, items);
    data.setChoices(5);
    AnalysisSelection boxes = defaultSelection();
    boxes.chkAnalyse[AnalyseBox::Distractors] = true;
    AnalysisResults results;
    MessageRecorder messages;
    QVERIFY(runAnalysis(data, boxes, results, messages).finished);

    QCOMPARE(results.SumScore, qint64(n / 2) * items);
    QCOMPARE(results.SumSquare, qint64(n / 2) * items * items);
    const double variance = 150.0 * 150.0 * n / (n - 1);
    QCOMPARE(results.SD, std::sqrt(variance));
    QCOMPARE(results.GroupSize, 8847);
    QCOMPARE(results.ItemPQ[1], 0.25);
    QCOMPARE(results.KR20, (items / double(items - 1)) * (1 - items * 0.25 / variance));
    QCOMPARE(results.ItemDiscrimination[items], 1.0);
    QCOMPARE(results.UpperChoice(1, 1), 8847);
    QCOMPARE(results.LowerChoice(1, 2), 8847);
    QVERIFY(messages.messages.isEmpty());
}

void TestScores::largestDeviationsNeedA128BitFourthPowerSum()
{
    // Scores alternately 32766 and 0 around the mean 16383: every d⁴ is about 7.2e16, and their sum
    // about 2.4e21 is far beyond 64 bits.
    const int n = MaxCount;
    AnalysisResults results;
    results.Score.assign(n + 2, 0.0);
    for (int i = 1; i <= n; i += 2)
        results.Score[i] = MaxCount;
    results.Mean = MaxCount / 2;
    QVERIFY(ComputeMoments(results));

    const double d2 = 16383.0 * 16383.0;
    QCOMPARE(results.SumDev2, qint64(n) * qint64(d2));
    QCOMPARE(results.SumDev3, 0ll); // +d³ and -d³ cancel pair by pair
    QVERIFY(results.SumDev4 == __int128(n) * qint64(d2 * d2));
    QCOMPARE(results.Kurtosis, 1.0);
}

QTEST_APPLESS_MAIN(TestScores)
#include "tst_scores.moc"
