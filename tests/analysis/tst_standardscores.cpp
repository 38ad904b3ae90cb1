#include "AnalysisFixtures.h"

#include "MessageRecorder.h"
#include "analysis/AnalysisRun.h"
#include "analysis/StandardScores.h"

#include <QTest>

#include <cmath>

class TestStandardScores : public QObject {
    Q_OBJECT
private slots:
    void standardScores_data();
    void standardScores();
    void reliability_data();
    void reliability();
    void standardError_data();
    void standardError();
    void reliabilityCountsTheCurrentDataWithoutDifficulty();
};

void TestStandardScores::standardScores_data()
{
    QTest::addColumn<AnalysisSelection>("boxes");

    QTest::newRow("Z-Score checked") << only({StatBox::ZScore});
    QTest::newRow("only T-Score checked still fills both") << only({StatBox::TScore});
    QTest::newRow("both checked") << only({StatBox::ZScore, StatBox::TScore});
}

void TestStandardScores::standardScores()
{
    QFETCH(AnalysisSelection, boxes);
    AnalysisResults results;
    MessageRecorder messages;
    const RunOutcome outcome = runAnalysis(dataWithScores({9, 7, 6, 3}), boxes, results, messages);

    QVERIFY(outcome.computed.chkStat[StatBox::ZScore] && outcome.computed.chkStat[StatBox::TScore]);
    QCOMPARE(differences(used(results.ZScore), {1.1, 0.3, -0.1, -1.3}), QString());
    QCOMPARE(differences(used(results.TScore), {61, 53, 49, 37}), QString());
}

void TestStandardScores::reliability_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QList<double>>("itemPQ");
    QTest::addColumn<double>("kr20");
    QTest::addColumn<double>("sem");

    // Scores 4 3 2 1 0: SD² 2.5, right answers 4 3 2 1 of 5, KR-20 = 4/3 × (1 − 0.8 / 2.5).
    QTest::newRow("a perfect ladder")
        << "1111" << QStringList{"1111", "1112", "1122", "1222", "2222"} << QList{0.16, 0.24, 0.24, 0.16}
        << 4.0 / 3 * 0.68 << std::sqrt(2.5) * std::sqrt(1 - 4.0 / 3 * 0.68);
    // Scores 2 0: SD² 2, pq 0.25 each, KR-20 = 2 × (1 − 0.5 / 2) = 1.5; no root of a negative.
    QTest::newRow("KR-20 above 1 gives an SEM of 0")
        << "11" << QStringList{"11", "22"} << QList{0.25, 0.25} << 1.5 << 0.0;
    // Scores 1 1 1 1 2: SD² 0.2, pq 0.24 each, KR-20 = 2 × (1 − 0.48 / 0.2) = −2.8.
    QTest::newRow("items that disagree give a negative KR-20")
        << "11" << QStringList{"12", "21", "12", "21", "11"} << QList{0.24, 0.24} << -2.8
        << std::sqrt(0.2) * std::sqrt(3.8);
}

void TestStandardScores::reliability()
{
    QFETCH(QString, key);
    QFETCH(QStringList, answers);
    QFETCH(QList<double>, itemPQ);
    AnalysisSelection boxes = only({}, {AnalyseBox::Reliability, AnalyseBox::SEM});
    AnalysisResults results;
    MessageRecorder messages;
    runAnalysis(makeTestData(key, answers), boxes, results, messages);

    QCOMPARE(differences(used(results.ItemPQ), itemPQ), QString());
    double sum = 0;
    for (double pq : itemPQ)
        sum += pq;
    QCOMPARE(results.SumPQ, sum);
    QTEST(results.KR20, "kr20");
    QTEST(results.SEM, "sem");
}

void TestStandardScores::standardError_data()
{
    QTest::addColumn<double>("sd");
    QTest::addColumn<double>("kr20");
    QTest::addColumn<double>("sem");

    QTest::newRow("KR-20 0.75 leaves half the SD") << 4.0 << 0.75 << 2.0;
    QTest::newRow("KR-20 0 leaves the whole SD") << 2.5 << 0.0 << 2.5;
    QTest::newRow("KR-20 exactly 1 gives 0") << 4.0 << 1.0 << 0.0;
    QTest::newRow("KR-20 above 1 gives 0") << 4.0 << 1.2 << 0.0;
    QTest::newRow("a negative KR-20 exceeds the SD") << 2.0 << -0.44 << 2.4;
}

void TestStandardScores::standardError()
{
    QFETCH(double, sd);
    QFETCH(double, kr20);
    QTEST(standardErrorOfMeasurement(sd, kr20), "sem");
}

void TestStandardScores::reliabilityCountsTheCurrentDataWithoutDifficulty()
{
    AnalysisResults results;
    MessageRecorder messages;
    AnalysisSelection withDifficulty = only({}, {AnalyseBox::Difficulty});
    runAnalysis(makeTestData("1111", {"2222", "2222", "1111"}), withDifficulty, results, messages);

    AnalysisSelection reliabilityOnly = only({}, {AnalyseBox::Reliability});
    runAnalysis(makeTestData("1111", {"1111", "1112", "1122", "1222", "2222"}), reliabilityOnly, results,
                messages);
    QCOMPARE(results.KR20, 4.0 / 3 * 0.68);
    QCOMPARE(used(results.ItemCorrect), QList({1, 1, 1, 1})); // the earlier data's counts stay as they were
}

QTEST_APPLESS_MAIN(TestStandardScores)
#include "tst_standardscores.moc"
