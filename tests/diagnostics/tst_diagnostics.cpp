// The item diagnostics' indices: a hand-worked class, identities with the analysis run's own results
// and with plain reference computations on generated classes, undefined values, and the verdicts.
#include "AnalysisFixtures.h"
#include "DataGenerator.h"
#include "MessageRecorder.h"
#include "analysis/AnalysisRun.h"
#include "analysis/ItemAnalysis.h"
#include "diagnostics/Diagnostics.h"
#include "diagnostics/NormalDistribution.h"
#include "model/DataFileLoader.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// The analysis run with every box ticked, for the figures to compare with.
AnalysisResults analyse(TestData& data, int choices)
{
    data.setChoices(choices);
    AnalysisResults run;
    MessageRecorder messages;
    AnalysisSelection boxes = defaultSelection();
    boxes.chkAnalyse[AnalyseBox::Distractors] = true;
    runAnalysis(data, boxes, run, messages);
    return run;
}

TestData generated(const GeneratedTest& test)
{
    TestData data;
    QString error;
    if (!loadDataBytes(generateDataFile(test), data, error))
        qFatal("%s", qPrintable(error));
    return data;
}

// Pearson's r from its definition, undefined (empty) where a variance is 0.
Index pearson(const std::vector<double>& a, const std::vector<double>& b)
{
    const double n = double(a.size());
    double meanA = 0, meanB = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        meanA += a[i] / n;
        meanB += b[i] / n;
    }
    double cov = 0, varA = 0, varB = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        cov += (a[i] - meanA) * (b[i] - meanB);
        varA += (a[i] - meanA) * (a[i] - meanA);
        varB += (b[i] - meanB) * (b[i] - meanB);
    }
    if (varA < 1e-12 || varB < 1e-12)
        return {};
    return cov / std::sqrt(varA * varB);
}

// Φ⁻¹(p) by bisection on the error function, independent of the library's approximation.
double quantileByBisection(double p)
{
    double low = -10, high = 10;
    for (int step = 0; step < 200; ++step) {
        const double middle = (low + high) / 2;
        (0.5 * std::erfc(-middle / std::sqrt(2.0)) < p ? low : high) = middle;
    }
    return (low + high) / 2;
}

bool near(Index actual, Index expected)
{
    if (!actual || !expected)
        return !actual && !expected;
    return std::abs(*actual - *expected) <= 1e-9;
}

QString show(Index value)
{
    return value ? QString::number(*value, 'g', 12) : QStringLiteral("undefined");
}

#define COMPARE_INDEX(actual, expected)                                                                      \
    QVERIFY2(near(actual, expected),                                                                         \
             qPrintable(QStringLiteral("%1 is %2, expected %3")                                              \
                            .arg(QStringLiteral(#actual), show(actual), show(expected))))

// An item built by hand for the verdict rules: choice 1 is the key with an r_pb of 0.4; choice 2 is the
// distractor under test for its r_pb, choice 3 for its share, choice 4 for its (L − U) / G. The counts
// behind p, D and the index match them: 30 % of the groups right in the lower group, one fifth of
// them choosing choice 4 there.
ItemDiagnostics itemFor(double p, double d, double rest, bool keyCorrelated, double distractorRpb,
                        int chosen3, double index4, int examinees)
{
    const int g = groupSizeFor(examinees);
    ItemDiagnostics item;
    item.right = int(std::lround(p * examinees));
    item.difficulty = p;
    item.discrimination = d;
    item.rightLower = int(std::lround(0.3 * g));
    item.rightUpper = item.rightLower + int(std::lround(d * g));
    item.pointBiserialRest = rest;
    if (keyCorrelated)
        item.pointBiserialTotal = 0.4;
    const auto option = [&](bool keyed, int chosen, Index rpb, double index) {
        OptionDiagnostics o;
        o.keyed = keyed;
        o.chosen = chosen;
        o.proportion = double(chosen) / examinees;
        o.pointBiserial = rpb;
        o.groupIndex = index;
        o.lower = g / 5;
        o.upper = o.lower - int(std::lround(index * g));
        return o;
    };
    item.options = {option(true, item.right, item.pointBiserialTotal, d),
                    option(false, examinees / 5, distractorRpb, 0.1), option(false, chosen3, -0.1, 0.1),
                    option(false, examinees / 5, -0.2, index4)};
    return item;
}

// A class of 35 on ten items: items 2 to 10 sort the class, the strongest examinees answering the key
// "1" and the others choices 2 and 3 by turns, so that examinee i (0 the strongest) scores about
// 10 − i / 3.5. Item 1 is given by the row: its key and each examinee's answer to it.
TestData classOf35(const QString& key1, const std::function<QChar(int)>& answer1)
{
    QStringList answers;
    for (int i = 0; i < 35; ++i) {
        QString row(answer1(i));
        for (int j = 2; j <= 10; ++j)
            row += i < 35 - 3 * j ? u'1' : QChar(u'2' + (i + j) % 2);
        answers << row;
    }
    return makeTestData(key1 + QStringLiteral("111111111"), answers);
}

} // namespace

class TestDiagnosticIndices : public QObject {
    Q_OBJECT
private slots:
    void normalDistribution_data();
    void normalDistribution();
    void ladderWorkedByHand();
    void agreesWithReferenceComputations_data();
    void agreesWithReferenceComputations();
    void kr20IfDeletedIsTheRunsKr20WithoutTheItem();
    void undefinedValuesStayUndefined();
    void stanines_data();
    void stanines();
    void verdicts_data();
    void verdicts();
    void plantedMiskeyIsFlagged();
    void verdictsInAClassOf35_data();
    void verdictsInAClassOf35();
    void sureness_data();
    void sureness();
    void choiceCount_data();
    void choiceCount();
};

void TestDiagnosticIndices::normalDistribution_data()
{
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("z");
    // Reference values of the standard normal quantile.
    QTest::newRow("the median is 0") << 0.5 << 0.0;
    QTest::newRow("the upper 2.5 % point") << 0.975 << 1.959963984540054;
    QTest::newRow("the lower 0.1 % point, in the tail formula") << 0.001 << -3.090232306167813;
    QTest::newRow("far in the upper tail") << 1 - 1e-10 << 6.361340889697422;
}

void TestDiagnosticIndices::normalDistribution()
{
    QFETCH(double, p);
    QFETCH(double, z);
    QVERIFY2(std::abs(normalQuantile(p) - z) < 1e-8 * std::max(1.0, std::abs(z)),
             qPrintable(QString::number(normalQuantile(p), 'g', 17)));
}

// Five examinees in a perfect ladder on four items keyed "1": examinee i answers "1" to the first
// 5 − i items and "2" to the rest, scoring 4, 3, 2, 1, 0 (mean 2, Σ(X − 2)² = 10, SD² = 2.5).
void TestDiagnosticIndices::ladderWorkedByHand()
{
    TestData data = dataWithScores({4, 3, 2, 1, 0}, 4);
    const AnalysisResults run = analyse(data, 4);
    const TestDiagnostics test = diagnoseTest(data, run, 4);
    const ItemDiagnostics& item1 = test.itemList[0];

    // Item 1: x = 1 1 1 1 0, rest = X − x = 3 2 1 0 0 (mean 1.2). Σ(x − .8)(rest − 1.2) = .2(1.8 + .8 − .2
    // − 1.2) + .8 × 1.2 = 1.2; Σ(x − .8)² = .8; Σ(rest − 1.2)² = 6.8; r = 1.2 / √(.8 × 6.8) = 0.514496.
    QCOMPARE(item1.difficulty, 0.8);
    COMPARE_INDEX(item1.pointBiserialRest, 1.2 / std::sqrt(0.8 * 6.8));
    // Against the total: Σ(x − .8)(X − 2) = .2(2 + 1 + 0 − 1) + .8 × 2 = 2; r = 2 / √(.8 × 10) = 0.707107.
    COMPARE_INDEX(item1.pointBiserialTotal, 2 / std::sqrt(8.0));
    // r_bis = 0.707107 × √(.8 × .2) / φ(Φ⁻¹(.8)) = 0.707107 × .4 / 0.279962 = 1.010290.
    QVERIFY(item1.biserial && std::abs(*item1.biserial - 1.0102899) < 1e-6);
    // Without item 1: Σpq = .24 + .24 + .16 = .64 and SD² = 6.8 / 4 = 1.7; 3/2 × (1 − .64/1.7) = 0.935294.
    COMPARE_INDEX(item1.kr20IfDeleted, 1.5 * (1 - 0.64 / 1.7));
    // The 27 % groups hold one examinee each (5 × .27 = 1.35): D = (1 − 0) / 1.
    COMPARE_INDEX(item1.discrimination, 1.0);
    // Choice 2 is "not choice 1" here, so its r_pb is the key's with the sign turned.
    COMPARE_INDEX(item1.options[1].pointBiserial, -2 / std::sqrt(8.0));
    // One examinee per score group, highest first: choice 1 is taken in groups 1 to 4.
    const std::array<Index, ScoreGroups> shares{1.0, 1.0, 1.0, 1.0, 0.0};
    QCOMPARE(item1.options[0].groupProportion, shares);

    // The test: Σpq = .16 + .24 + .24 + .16 = .8. KR-20 = 4/3 × (1 − .8/2.5) = 0.906667 as the run has it;
    // α = 4/3 × (1 − .8/2) = 0.8 (variances on divisor n); KR-21 = 4/3 × (1 − 2 × 2 / (4 × 2.5)) = 0.8;
    // SEM = √2.5 × √(1 − 0.906667) = 0.483046.
    COMPARE_INDEX(test.kr20, run.KR20);
    COMPARE_INDEX(test.kr20, 4.0 / 3 * (1 - 0.8 / 2.5));
    COMPARE_INDEX(test.alpha, 0.8);
    COMPARE_INDEX(test.kr21, 0.8);
    COMPARE_INDEX(test.sem, std::sqrt(2.5) * std::sqrt(1 - 4.0 / 3 * (1 - 0.8 / 2.5)));
    // Every score once: percentile rank (below + ½) / 5 × 100 = 10, 30, 50, 70, 90 for scores 0..4.
    QCOMPARE(test.percentileRank, (std::vector<double>{10, 30, 50, 70, 90}));
    QCOMPARE(test.histogram, (std::vector<int>{1, 1, 1, 1, 1}));
}

void TestDiagnosticIndices::agreesWithReferenceComputations_data()
{
    QTest::addColumn<int>("fileChoices");
    QTest::addColumn<int>("choices");
    QTest::addColumn<double>("omissions");
    QTest::newRow("four choices") << 4 << 4 << 0.0;
    QTest::newRow("five choices with blanks") << 5 << 5 << 0.05;
    // Items keyed "5" then have a key that is no choice: their right answers are still counted.
    QTest::newRow("five-choice answers diagnosed as four") << 5 << 4 << 0.02;
}

// On a generated class every index equals the plain computation from its definition, and the figures
// the analysis run also computes (KR-20, D, the 27 % groups' choices) equal the run's.
void TestDiagnosticIndices::agreesWithReferenceComputations()
{
    QFETCH(int, fileChoices);
    QFETCH(int, choices);
    QFETCH(double, omissions);
    TestData data = generated(
        {.students = 123, .items = 25, .choices = fileChoices, .seed = 11, .omissionRate = omissions});
    const AnalysisResults run = analyse(data, choices);
    const TestDiagnostics test = diagnoseTest(data, run, choices);
    const int n = data.NumStud;
    const int k = data.NumItems;

    std::vector<double> scores(run.Score.begin() + 1, run.Score.end() - 1);
    double itemVariances = 0; // on divisor n − 1
    for (int j = 1; j <= k; ++j) {
        const ItemDiagnostics& item = test.itemList[j - 1];
        std::vector<double> right(n), rest(n);
        for (int i = 1; i <= n; ++i) {
            right[i - 1] = data.AnsMatrix.at(i, j) == data.Keys[j];
            rest[i - 1] = scores[i - 1] - right[i - 1];
        }
        const double p = double(run.ItemCorrect[j]) / n;
        itemVariances += p * (1 - p) * n / (n - 1);
        QCOMPARE(item.difficulty, p);
        COMPARE_INDEX(item.discrimination, run.ItemDiscrimination[j]);
        COMPARE_INDEX(item.pointBiserialRest, pearson(right, rest));
        COMPARE_INDEX(item.pointBiserialTotal, pearson(right, scores));

        // The biserial from its own definition: (M_right − M_wrong) / σ × pq / y, σ on divisor n.
        double sumRight = 0, sumWrong = 0;
        for (int i = 0; i < n; ++i)
            (right[i] ? sumRight : sumWrong) += scores[i];
        const double sigma = run.SD * std::sqrt((n - 1.0) / n);
        const double y = normalDensity(quantileByBisection(p));
        COMPARE_INDEX(item.biserial,
                      (sumRight / (p * n) - sumWrong / ((1 - p) * n)) / sigma * p * (1 - p) / y);

        for (int c = 1; c <= choices; ++c) {
            const OptionDiagnostics& option = item.options[c - 1];
            std::vector<double> chose(n);
            for (int i = 1; i <= n; ++i)
                chose[i - 1] = data.AnsMatrix.at(i, j) == QString::number(c);
            QCOMPARE(option.keyed, data.Keys[j] == QString::number(c));
            COMPARE_INDEX(option.pointBiserial, pearson(chose, scores));
            QCOMPARE(option.upper, run.UpperChoice(j, c));
            QCOMPARE(option.lower, run.LowerChoice(j, c));
            COMPARE_INDEX(option.groupIndex, run.OptionIndex(j, c));
            for (int g = 1; g <= ScoreGroups; ++g) {
                const int first = (g - 1) * n / 5 + 1, last = g * n / 5;
                int count = 0;
                for (int rank = first; rank <= last; ++rank)
                    count += int(chose[run.RankedRow[rank] - 1]);
                COMPARE_INDEX(option.groupProportion[g - 1], double(count) / (last - first + 1));
            }
        }
    }

    COMPARE_INDEX(test.kr20, run.KR20);
    // α with sample variances throughout, from the items' right/wrong marks.
    COMPARE_INDEX(test.alpha, double(k) / (k - 1) * (1 - itemVariances / (run.SD * run.SD)));
    // α is KR-20 once pq (divisor n) is set against the score variance on the same divisor n.
    COMPARE_INDEX(test.alpha, double(k) / (k - 1) * (1 - run.SumPQ / (run.SD * run.SD * (n - 1) / n)));
    COMPARE_INDEX(test.kr21, double(k) / (k - 1) * (1 - run.Mean * (k - run.Mean) / (k * run.SD * run.SD)));
    COMPARE_INDEX(test.sem, run.SEM);
    for (int i = 0; i < n; ++i) {
        const double below =
            double(std::count_if(scores.begin(), scores.end(), [&](double s) { return s < scores[i]; }));
        const double equal = double(std::count(scores.begin(), scores.end(), scores[i]));
        QCOMPARE(test.percentileRankOf(int(scores[i])), (below + equal / 2) / n * 100);
    }
}

// KR-20 if deleted against the whole analysis run on the data with that item's column removed.
void TestDiagnosticIndices::kr20IfDeletedIsTheRunsKr20WithoutTheItem()
{
    TestData data = generated({.students = 60, .items = 12, .seed = 5});
    const TestDiagnostics test = diagnoseTest(data, analyse(data, 4), 4);
    for (int j = 1; j <= data.NumItems; ++j) {
        QStringList answers;
        for (int i = 1; i <= data.NumStud; ++i)
            answers << data.StudAns[i].toString().remove(j - 1, 1);
        TestData without = makeTestData(QString(data.AllKeys).remove(j - 1, 1), answers);
        COMPARE_INDEX(test.itemList[j - 1].kr20IfDeleted, analyse(without, 4).KR20);
    }
}

void TestDiagnosticIndices::undefinedValuesStayUndefined()
{
    // Item 1 everyone answers right; item 2 splits the class. Item 1's marks have no variance.
    TestData data = makeTestData(QStringLiteral("12"), {"12", "13", "12", "14"});
    TestDiagnostics test = diagnoseTest(data, analyse(data, 4), 4);
    const ItemDiagnostics& allRight = test.itemList[0];
    QVERIFY(!allRight.pointBiserialRest);
    QVERIFY(!allRight.pointBiserialTotal);
    QVERIFY(!allRight.biserial);
    QVERIFY(!allRight.options[0].pointBiserial); // chosen by everyone
    QVERIFY(!allRight.options[1].pointBiserial); // chosen by no one
    QVERIFY(!allRight.kr20IfDeleted);            // one item would be left
    QVERIFY(test.itemList[1].pointBiserialTotal);

    // Equal scores: no score variance, so no reliability and no correlation at all.
    data = makeTestData(QStringLiteral("12"), {"13", "32", "14", "42"});
    test = diagnoseTest(data, analyse(data, 4), 4);
    QVERIFY(!test.kr20 && !test.alpha && !test.kr21 && !test.sem);
    QVERIFY(!test.itemList[0].pointBiserialTotal && !test.itemList[0].options[2].pointBiserial);

    // One examinee: no 27 % groups, and four of the five score groups are empty.
    data = makeTestData(QStringLiteral("12"), {"13"});
    test = diagnoseTest(data, analyse(data, 4), 4);
    QVERIFY(!test.itemList[0].discrimination && !test.itemList[0].options[0].groupIndex);
    QVERIFY(!test.itemList[0].options[0].groupProportion[0]);
    QCOMPARE(test.itemList[0].options[0].groupProportion[4], Index(1.0));
    QCOMPARE(test.itemList[0].judgement.verdict, Verdict::SmallSample);
}

void TestDiagnosticIndices::stanines_data()
{
    QTest::addColumn<double>("percentileRank");
    QTest::addColumn<int>("stanine");
    QTest::newRow("just below 4 is stanine 1") << 3.99 << 1;
    QTest::newRow("exactly 4 is stanine 2") << 4.0 << 2;
    QTest::newRow("just below 60 is stanine 5") << 59.9 << 5;
    QTest::newRow("exactly 60 is stanine 6") << 60.0 << 6;
    QTest::newRow("exactly 96 is stanine 9") << 96.0 << 9;
}

void TestDiagnosticIndices::stanines()
{
    QFETCH(double, percentileRank);
    QTEST(stanine(percentileRank), "stanine");
}

void TestDiagnosticIndices::verdicts_data()
{
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("rest");
    QTest::addColumn<bool>("keyCorrelated");
    QTest::addColumn<double>("distractorRpb");
    QTest::addColumn<int>("chosen3");
    QTest::addColumn<double>("index4");
    QTest::addColumn<int>("examinees");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("reason");

    const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("a sound item is kept") << .5 << .4 << .3 << true << -.1 << 10 << .2 << 100 << "keep"
                                << "p = 0.500";
    row("a clearly negative item-rest correlation checks the key")
        << .5 << .4 << -.3 << true << -.1 << 10 << .2 << 100 << "check-key"
        << "= -0.300";
    row("an item-rest correlation of -0.1 in a class of 35 is within luck")
        << .5 << .4 << -.1 << true << -.1 << 10 << .2 << 35 << "keep"
        << "p = 0.500";
    row("a distractor well above the key checks the key")
        << .5 << .4 << .3 << true << .75 << 10 << .2 << 100 << "check-key"
        << "ตัวเลือก 2 มี r_pb = 0.750";
    row("a distractor a little above the key is within luck")
        << .5 << .4 << .3 << true << .45 << 10 << .2 << 100 << "keep"
        << "";
    row("a distractor level with the key does not")
        << .5 << .4 << .3 << true << .4 << 10 << .2 << 100 << "keep"
        << "";
    row("a key without a correlation is compared with no distractor")
        << 1.0 << 0.0 << .3 << false << .45 << 10 << .2 << 100 << "revise"
        << "p = 1.000";
    row("check the key shows in a small class too")
        << .5 << .4 << -.5 << true << -.1 << 10 << .2 << 29 << "check-key"
        << "";
    row("a class of 29 gets small-sample instead of revise")
        << .1 << .4 << .3 << true << -.1 << 10 << .2 << 29 << "small-sample"
        << "ผู้สอบ 29 คน";
    row("a class of 30 is judged") << .1 << .4 << .3 << true << -.1 << 10 << .2 << 30 << "revise"
                                   << "";
    row("p just below 0.2 is revised") << .19 << .4 << .3 << true << -.1 << 10 << .2 << 100 << "revise"
                                       << "p = 0.190";
    row("p exactly 0.2 is not revised") << .2 << .4 << .3 << true << -.1 << 10 << .2 << 100 << "keep"
                                        << "";
    row("p exactly 0.8 is not revised") << .8 << .4 << .3 << true << -.1 << 10 << .2 << 100 << "keep"
                                        << "";
    row("p just above 0.8 is revised") << .81 << .4 << .3 << true << -.1 << 10 << .2 << 100 << "revise"
                                       << "p = 0.810";
    row("D just below 0.2 in a class of 100 is within luck")
        << .5 << .19 << .3 << true << -.1 << 10 << .2 << 100 << "keep"
        << "";
    row("D of 0.1 in a class of 1000 is revised")
        << .5 << .1 << .3 << true << -.1 << 200 << .2 << 1000 << "revise"
        << "D = 0.100";
    row("D exactly 0.2 is not revised") << .5 << .2 << .3 << true << -.1 << 10 << .2 << 100 << "keep"
                                        << "";
    row("revising comes before replacing a distractor")
        << .1 << .4 << .3 << true << -.1 << 0 << .2 << 100 << "revise"
        << "";
    row("a distractor chosen by 4 % leaves a usable item kept, and is named")
        << .5 << .4 << .3 << true << -.1 << 4 << .2 << 100 << "keep"
        << "ตัวลวง 3 มีผู้เลือกเพียง 4.0 %";
    row("a distractor 9 of 1000 chose leaves a usable item kept, and is named")
        << .5 << .4 << .3 << true << -.1 << 9 << .2 << 1000 << "keep"
        << "ตัวลวง 3 มีผู้เลือกเพียง 0.9 %";
    row("a distractor chosen by exactly 5 % stays")
        << .5 << .4 << .3 << true << -.1 << 5 << .2 << 100 << "keep"
        << "";
    row("a distractor nobody chose is replaced")
        << .5 << .4 << .3 << true << -.1 << 0 << .2 << 100 << "replace-distractor"
        << "ไม่มีผู้เลือกเลย";
    row("a distractor drawing one more of the upper group leaves the item kept, and is named")
        << .5 << .4 << .3 << true << -.1 << 10 << -.05 << 100 << "keep"
        << "(L − U)/G = -0.050";
    row("a distractor clearly drawing the upper group is replaced")
        << .5 << .4 << .3 << true << -.1 << 10 << -.3 << 100 << "replace-distractor"
        << "(L − U)/G = -0.300";
    row("a distractor index of 0 stays") << .5 << .4 << .3 << true << -.1 << 10 << 0.0 << 100 << "keep"
                                         << "";
}

void TestDiagnosticIndices::verdicts()
{
    QFETCH(double, p);
    QFETCH(double, d);
    QFETCH(double, rest);
    QFETCH(bool, keyCorrelated);
    QFETCH(double, distractorRpb);
    QFETCH(int, chosen3);
    QFETCH(double, index4);
    QFETCH(int, examinees);
    QFETCH(QString, reason);
    ItemDiagnostics item = itemFor(p, d, rest, keyCorrelated, distractorRpb, chosen3, index4, examinees);
    item.judgement = judgeItem(item, examinees);
    QTEST(verdictCode(item.judgement.verdict), "verdict");
    const QString text = reasonThai(item, examinees);
    QVERIFY2(text.contains(reason), qPrintable(text));
}

// A key record with one slip, the answers following the true key: only that item asks to check the
// key. Item 9's true key hardly discriminates in this class (its r_pb is about 0), so the slip leaves
// no trace beyond luck there and the item is revised for its D instead; item 12's is found.
void TestDiagnosticIndices::plantedMiskeyIsFlagged()
{
    for (const int planted : {0, 9, 12}) {
        TestData data = generated({.students = 300, .items = 40, .seed = 7, .miskeyedItem = planted});
        const TestDiagnostics test = diagnoseTest(data, analyse(data, 4), 4);
        for (const ItemDiagnostics& item : test.itemList) {
            const Verdict verdict = item.judgement.verdict;
            const bool expected = item.number != planted ? verdict != Verdict::CheckKey
                                  : item.number == 9     ? verdict == Verdict::Revise
                                                         : verdict == Verdict::CheckKey;
            QVERIFY2(expected,
                     qPrintable(QStringLiteral("item %1: %2").arg(item.number).arg(reasonThai(item, 300))));
        }
    }
}

void TestDiagnosticIndices::verdictsInAClassOf35_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<std::function<QChar(int)>>("answer");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("reason");

    // Item 1 as a sound item: the strongest 21 answer "1", the others 2, 3 and 4 by turns.
    const auto sound = [](int i) { return i < 21 ? u'1' : QChar(u'2' + i % 3); };
    QTest::newRow("a sound item is kept") << "1" << std::function<QChar(int)>(sound) << "keep"
                                          << "อยู่ในเกณฑ์";
    QTest::newRow("a key slip onto the choice nobody took is checked")
        << "4" << std::function<QChar(int)>([](int i) { return i < 21 ? u'1' : QChar(u'2' + i % 2); })
        << "check-key"
        << "ไม่มีผู้เลือกตัวเลือกที่เฉลย (4) เลย แต่ตัวเลือก 1 ดึงผู้ได้คะแนนสูง";
    QTest::newRow("a key slip onto a popular distractor is checked")
        << "2" << std::function<QChar(int)>(sound) << "check-key"
        << "มั่นใจได้";
    QTest::newRow("a distractor nobody chose in 35 is replaced, not surely")
        << "1" << std::function<QChar(int)>([](int i) { return i < 21 ? u'1' : QChar(u'2' + i % 2); })
        << "replace-distractor"
        << "ตัวลวง 4 ไม่มีผู้เลือกเลย";
    QTest::newRow("one pupil choosing a distractor leaves a usable item kept")
        << "1" << std::function<QChar(int)>([](int i) {
               return i < 21 ? u'1' : i == 34 ? u'4' : QChar(u'2' + i % 2);
           })
        << "keep"
        << "ตัวลวง 4 มีผู้เลือกเพียง 2.9 %";
    QTest::newRow("one more of the upper group on a distractor leaves a usable item kept")
        << "1" << std::function<QChar(int)>([](int i) {
               return i == 0 ? u'4' : i < 21 ? u'1' : QChar(u'2' + i % 3);
           })
        << "keep"
        << "";
    QTest::newRow("an item the weaker half answers right is checked")
        << "1" << std::function<QChar(int)>([](int i) { return i >= 14 ? u'1' : QChar(u'2' + i % 3); })
        << "check-key"
        << "ติดลบ";
}

// Whole classes, diagnosed as qlt does, where the right verdict is beyond doubt.
void TestDiagnosticIndices::verdictsInAClassOf35()
{
    QFETCH(QString, key);
    QFETCH(std::function<QChar(int)>, answer);
    QFETCH(QString, reason);
    TestData data = classOf35(key, answer);
    const TestDiagnostics test = diagnoseTest(data, analyse(data, 4), 4);
    const ItemDiagnostics& item = test.itemList[0];
    const QString text = reasonThai(item, test.examinees);
    QTEST(verdictCode(item.judgement.verdict), "verdict");
    QVERIFY2(text.contains(reason), qPrintable(text));
}

void TestDiagnosticIndices::sureness_data()
{
    QTest::addColumn<double>("chance");
    QTest::addColumn<int>("sureness");
    QTest::addColumn<QString>("words");
    QTest::newRow("under 1 % is sure") << 0.0099 << int(Sureness::Sure) << "มั่นใจได้";
    QTest::newRow("exactly 1 % is likely") << 0.01 << int(Sureness::Likely) << "ราว 1 %";
    QTest::newRow("just under 10 % is likely") << 0.0999 << int(Sureness::Likely) << "ค่อนข้างมั่นใจ";
    QTest::newRow("10 % is unsure") << 0.1 << int(Sureness::Unsure) << "ยังไม่แน่ชัด";
}

// The words of the reason follow the chance; the chance of nobody choosing a 5 % distractor in 35 is
// 0.95^35 = 16.6 %, in 200 it is 0.0035 %.
void TestDiagnosticIndices::sureness()
{
    QFETCH(double, chance);
    QFETCH(QString, words);
    Judgement judgement;
    judgement.chance = chance;
    QTEST(int(judgement.sureness()), "sureness");
    ItemDiagnostics item = itemFor(.5, .4, .3, true, -.1, 0, .2, 100);
    item.judgement = judgeItem(item, 100);
    item.judgement.chance = chance;
    QVERIFY2(reasonThai(item, 100).contains(words), qPrintable(reasonThai(item, 100)));

    for (const auto& [examinees, expected] :
         {std::pair{35, std::pow(0.95, 35)}, std::pair{200, std::pow(0.95, 200)}}) {
        ItemDiagnostics unchosen = itemFor(.5, .4, .3, true, -.1, 0, .2, examinees);
        QVERIFY(std::abs(judgeItem(unchosen, examinees).chance - expected) < 1e-12);
    }
}

void TestDiagnosticIndices::choiceCount_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("fives"); // examinees (of 40) answering "5" to item 2
    QTest::addColumn<int>("sixes"); // examinees answering "6" to item 3
    QTest::addColumn<int>("given"); // 0: not given
    QTest::addColumn<int>("choices");
    QTest::addColumn<int>("beyond");
    QTest::addColumn<QString>("warning");
    QTest::newRow("a key with a 5 gives five choices") << "125" << 0 << 0 << 0 << 5 << 0 << "";
    QTest::newRow("a 5 in 1 % of the answers gives five choices, even when the key has none")
        << "123" << 2 << 0 << 0 << 5 << 0 << "";
    QTest::newRow("a 5 in fewer than 1 % of the answers is a slip: four choices, and a warning")
        << "123" << 1 << 0 << 0 << 4 << 1 << "มีคำตอบ 1 คำตอบที่ใช้รหัส 5 ซึ่งเกินจำนวนตัวเลือก 4 ตัว (ไม่ได้ระบุ";
    QTest::newRow("answers of 5 with four choices given are warned about")
        << "123" << 12 << 0 << 4 << 4 << 12 << "มีคำตอบ 12 คำตอบที่ใช้รหัส 5 ซึ่งเกินจำนวนตัวเลือก 4 ตัว  ";
    QTest::newRow("a 6 is beyond five choices")
        << "125" << 3 << 2 << 0 << 5 << 2 << "รหัส 6 ซึ่งเกินจำนวนตัวเลือก 5 ตัว";
}

// 40 examinees on three items: 120 answers, so 1 % is 1.2 answers.
void TestDiagnosticIndices::choiceCount()
{
    QFETCH(QString, key);
    QFETCH(int, fives);
    QFETCH(int, sixes);
    QFETCH(int, given);
    QFETCH(QString, warning);
    QStringList answers;
    for (int i = 0; i < 40; ++i)
        answers << QStringLiteral("%1%2%3")
                       .arg(QChar(u'1' + i % 4))
                       .arg(i < fives ? u'5' : QChar(u'1' + i % 3))
                       .arg(i < sixes ? u'6' : QChar(u'1' + i % 2));
    TestData data = makeTestData(key, answers);
    const TestDiagnostics test = diagnoseTest(data, analyse(data, 4), given);
    QTEST(test.choices, "choices");
    QCOMPARE(int(test.itemList[0].options.size()), test.choices);
    QTEST(int(test.answersBeyondChoices), "beyond");
    QCOMPARE(test.choicesInferred, given == 0);
    const QString text = choiceCodesWarning(test);
    QVERIFY2(warning.isEmpty() ? text.isEmpty() : text.contains(warning), qPrintable(text));
}

QTEST_APPLESS_MAIN(TestDiagnosticIndices)
#include "tst_diagnostics.moc"
