#include "AnalysisFixtures.h"

#include "MessageRecorder.h"
#include "analysis/AnalysisRun.h"

#include <QTest>

#include <cmath>

class TestAnalysisRun : public QObject {
    Q_OBJECT
private slots:
    void zeroDeviationMessages();
    void refusedSteps_data();
    void refusedSteps();
    void noExamineeIsRefused();
    void computedResults_data();
    void computedResults();
    void rerunKeepsResultsOfUncheckedSteps_data();
    void rerunKeepsResultsOfUncheckedSteps();
    void degenerateDataGiveFiniteResults_data();
    void degenerateDataGiveFiniteResults();
};

namespace {

AnalysisSelection everything()
{
    AnalysisSelection boxes = defaultSelection();
    boxes.chkAnalyse[AnalyseBox::Distractors] = true;
    return boxes;
}

AnalysisSelection without(AnalysisSelection boxes, std::initializer_list<int> statBoxes,
                          std::initializer_list<int> analyseBoxes = {})
{
    for (int box : statBoxes)
        boxes.chkStat[box] = false;
    for (int box : analyseBoxes)
        boxes.chkAnalyse[box] = false;
    return applyBoxRules(boxes);
}

QStringList titles(const MessageRecorder& recorder)
{
    QStringList result;
    for (const MessageRecorder::Message& message : recorder.messages)
        result << message.title;
    return result;
}

const QString zeroSD = "Oh My God!";
const QString error = " ผิดพลาด !";

// The results of one step, written out so that two runs can be compared.
enum class Step { StandardScores, Moments, Reliability, Difficulty, Discrimination, Options, UsableItems };

QString written(const AnalysisResults& r, Step step)
{
    QString text;
    QDebug out(&text);
    switch (step) {
    case Step::StandardScores:
        out << r.ZScore << r.TScore;
        break;
    case Step::Moments:
        out << r.SumDev2 << r.SumDev3 << qint64(r.SumDev4) << r.Skewness << r.Kurtosis;
        break;
    case Step::Reliability:
        out << r.ItemPQ << r.SumPQ << r.KR20 << r.SEM;
        break;
    case Step::Difficulty:
        out << r.ItemCorrect << r.ItemDifficulty << r.DifficultyGrade;
        break;
    case Step::Discrimination:
        out << r.UpperCorrect << r.LowerCorrect << r.ItemDiscrimination << r.DiscriminationGrade;
        break;
    case Step::Options:
        for (int j = 0; j < r.OptionIndex.rows(); ++j)
            for (int c = 0; c < r.OptionIndex.columns(); ++c)
                out << r.UpperChoice(j, c) << r.LowerChoice(j, c) << r.OptionIndex(j, c)
                    << r.OptionGrade(j, c);
        break;
    case Step::UsableItems:
        out << r.UsableItems;
        break;
    }
    return text;
}

} // namespace

void TestAnalysisRun::zeroDeviationMessages()
{
    AnalysisResults results;
    results.KR20 = 0.5;
    results.Skewness = 7;
    MessageRecorder messages;
    AnalysisSelection boxes = defaultSelection();
    const RunOutcome outcome = runAnalysis(dataWithScores({4, 4, 4}, 6), boxes, results, messages);

    QCOMPARE(messages.messages.size(), 2);
    QCOMPARE(messages.messages[0].prompt, "ไม่น่าเชื่อ! ข้อมูลของคุณมีค่า SD หรือส่วนเบี่ยงเบนมาตรฐานเป็น 0");
    QCOMPARE(messages.messages[1].prompt,
             QString("ไม่สามารถวิเคราะห์ค่า Z-Score, t-Score, ความเบ้, ความโด่ง และ ความเที่ยง ได้") + "\r\n" +
                 " โปรดเลือกใหม่อีกครั้ง");
    QCOMPARE(titles(messages), QStringList({zeroSD, zeroSD}));
    QCOMPARE(boxes,
             without(defaultSelection(), {StatBox::Skewness, StatBox::Kurtosis}, {AnalyseBox::Reliability}));
    QVERIFY(!boxes.chkAnalyse[AnalyseBox::SEM]);
    QCOMPARE(used(results.ZScore), QList<double>({0, 0, 0}));
    QCOMPARE(used(results.TScore), QList<double>({0, 0, 0}));
    QCOMPARE(results.KR20, 0.5);
    QCOMPARE(results.Skewness, 7.0);
    QCOMPARE(results.Mode, 4);
    QCOMPARE(results.ScoreRange, 0);
    QVERIFY(outcome.finished);
}

void TestAnalysisRun::refusedSteps_data()
{
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<int>("items");
    QTest::addColumn<AnalysisSelection>("boxes");
    QTest::addColumn<AnalysisSelection>("boxesAfter");
    QTest::addColumn<QStringList>("titles");

    const AnalysisSelection noDivision =
        without(defaultSelection(), {StatBox::Skewness, StatBox::Kurtosis}, {AnalyseBox::Reliability});
    QTest::newRow("equal scores with only skewness checked")
        << QList{2, 2} << 3 << only({StatBox::Skewness}) << AnalysisSelection()
        << QStringList{zeroSD, zeroSD};
    QTest::newRow("equal scores with only reliability and SEM checked")
        << QList{2, 2} << 3 << only({}, {AnalyseBox::Reliability, AnalyseBox::SEM}) << AnalysisSelection()
        << QStringList{zeroSD, zeroSD};
    QTest::newRow("one examinee is taken as an SD of 0 and forms no groups")
        << QList{3} << 5 << defaultSelection() << without(noDivision, {}, {AnalyseBox::Discrimination})
        << QStringList{zeroSD, zeroSD, error};
    // Deviations ±0.5: every d² = 0.25 rounds away, so SumDev2 is 0 though the SD is not.
    QTest::newRow("two examinees one point apart have no skewness or kurtosis")
        << QList{1, 0} << 2 << defaultSelection()
        << without(defaultSelection(), {StatBox::Skewness, StatBox::Kurtosis}) << QStringList{error};
    QTest::newRow("a one-item test has no reliability")
        << QList{1, 0, 0, 0, 0, 0, 0, 0, 0, 0} << 1 << defaultSelection()
        << without(defaultSelection(), {}, {AnalyseBox::Reliability}) << QStringList{error};
}

void TestAnalysisRun::refusedSteps()
{
    QFETCH(QList<int>, scores);
    QFETCH(int, items);
    QFETCH(AnalysisSelection, boxes);
    AnalysisResults results;
    MessageRecorder messages;
    const RunOutcome outcome = runAnalysis(dataWithScores(scores, items), boxes, results, messages);

    QTEST(titles(messages), "titles");
    QTEST(boxes, "boxesAfter");
    QVERIFY(outcome.finished);
}

void TestAnalysisRun::noExamineeIsRefused()
{
    TestData data;
    data.setKey("1234");
    AnalysisResults results;
    results.Mean = 3.5;
    results.Score = {0, 2, 5, 0};
    MessageRecorder messages;
    AnalysisSelection boxes = defaultSelection();
    const RunOutcome outcome = runAnalysis(data, boxes, results, messages);

    QVERIFY(!outcome.finished);
    QCOMPARE(outcome.computed, AnalysisSelection());
    QCOMPARE(titles(messages), QStringList({error}));
    QCOMPARE(boxes, defaultSelection());
    QCOMPARE(results.Mean, 3.5);
    QCOMPARE(results.Score, std::vector<double>({0, 2, 5, 0}));
}

void TestAnalysisRun::computedResults_data()
{
    QTest::addColumn<AnalysisSelection>("boxes");
    QTest::addColumn<AnalysisSelection>("computed");

    const AnalysisSelection always =
        only({StatBox::RawScore, StatBox::Range, StatBox::Mean, StatBox::Median, StatBox::Mode, StatBox::SD});
    auto with = [&](std::initializer_list<int> statBoxes, std::initializer_list<int> analyseBoxes = {}) {
        AnalysisSelection boxes = always;
        for (int box : statBoxes)
            boxes.chkStat[box] = true;
        for (int box : analyseBoxes)
            boxes.chkAnalyse[box] = true;
        return boxes;
    };
    QTest::newRow("no box still computes the basic statistics") << AnalysisSelection() << always;
    QTest::newRow("T-Score computes Z-Score too")
        << only({StatBox::TScore}) << with({StatBox::ZScore, StatBox::TScore});
    QTest::newRow("kurtosis computes skewness too")
        << only({StatBox::Kurtosis}) << with({StatBox::Skewness, StatBox::Kurtosis});
    QTest::newRow("reliability computes the SEM too")
        << only({}, {AnalyseBox::Reliability}) << with({}, {AnalyseBox::Reliability, AnalyseBox::SEM});
    QTest::newRow("every box but the spare")
        << everything()
        << with({StatBox::ZScore, StatBox::TScore, StatBox::Skewness, StatBox::Kurtosis},
                {AnalyseBox::Reliability, AnalyseBox::Difficulty, AnalyseBox::Discrimination, AnalyseBox::SEM,
                 AnalyseBox::Distractors});
}

void TestAnalysisRun::computedResults()
{
    QFETCH(AnalysisSelection, boxes);
    TestData data = dataWithScores({4, 3, 2, 1, 0});
    data.setChoices(5);
    AnalysisResults results;
    MessageRecorder messages;
    const RunOutcome outcome = runAnalysis(data, boxes, results, messages);

    QVERIFY(outcome.finished);
    QTEST(outcome.computed, "computed");
    QCOMPARE(outcome.numChoices, boxes.chkAnalyse[AnalyseBox::Distractors] ? 5 : 0);
}

void TestAnalysisRun::rerunKeepsResultsOfUncheckedSteps_data()
{
    QTest::addColumn<AnalysisSelection>("boxes");
    QTest::addColumn<int>("kept");

    QTest::newRow("without Z-Score the standard scores stay")
        << without(everything(), {StatBox::ZScore}) << int(Step::StandardScores);
    QTest::newRow("without skewness and kurtosis the moments stay")
        << without(everything(), {StatBox::Skewness, StatBox::Kurtosis}) << int(Step::Moments);
    QTest::newRow("without reliability KR-20 and SEM stay")
        << without(everything(), {}, {AnalyseBox::Reliability}) << int(Step::Reliability);
    QTest::newRow("without difficulty the difficulty stays")
        << without(everything(), {}, {AnalyseBox::Difficulty}) << int(Step::Difficulty);
    QTest::newRow("without difficulty the usable items stay")
        << without(everything(), {}, {AnalyseBox::Difficulty}) << int(Step::UsableItems);
    QTest::newRow("without discrimination the discrimination stays")
        << without(everything(), {}, {AnalyseBox::Discrimination}) << int(Step::Discrimination);
    QTest::newRow("without discrimination the distractors stay")
        << without(everything(), {}, {AnalyseBox::Discrimination}) << int(Step::Options);
    QTest::newRow("without distractors the choice counts stay")
        << without(everything(), {}, {AnalyseBox::Distractors}) << int(Step::Options);
}

void TestAnalysisRun::rerunKeepsResultsOfUncheckedSteps()
{
    QFETCH(AnalysisSelection, boxes);
    QFETCH(int, kept);
    const Step step = Step(kept);
    TestData first = makeTestData("1234", {"1234", "1233", "1211", "4321", "2222", "1134"});
    TestData second = makeTestData("4321", {"4321", "4311", "1111", "4441", "4221", "3321", "1231"});
    first.setChoices(4);
    second.setChoices(4);
    AnalysisResults results;
    MessageRecorder messages;
    AnalysisSelection all = everything();
    runAnalysis(first, all, results, messages);
    const QString before = written(results, step);
    const AnalysisResults fresh = [&] {
        AnalysisResults r;
        AnalysisSelection boxes = everything();
        runAnalysis(second, boxes, r, messages);
        return r;
    }();
    QVERIFY(written(fresh, step) != before); // the second data would give other results

    runAnalysis(second, boxes, results, messages);
    QCOMPARE(written(results, step), before);
    QCOMPARE(used(results.Score), used(fresh.Score));
    QVERIFY(messages.messages.isEmpty());
}

void TestAnalysisRun::degenerateDataGiveFiniteResults_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("answers");

    QTest::newRow("one examinee") << "1234" << QStringList{"1234"};
    QTest::newRow("all scores equal") << "1234" << QStringList{"1200", "0034", "1030"};
    QTest::newRow("two examinees one point apart") << "12" << QStringList{"12", "11"};
    QTest::newRow("one item") << "1" << QStringList{"1", "2", "3"};
    QTest::newRow("every answer right") << "1234" << QStringList{"1234", "1234"};
    QTest::newRow("answers shorter than the key") << "12345" << QStringList{"12", "", "1234"};
    QTest::newRow("an empty key") << "" << QStringList{"", ""};
}

void TestAnalysisRun::degenerateDataGiveFiniteResults()
{
    QFETCH(QString, key);
    QFETCH(QStringList, answers);
    TestData data = makeTestData(key, answers);
    data.setChoices(5);
    AnalysisResults results;
    MessageRecorder messages;
    AnalysisSelection boxes = everything();
    QVERIFY(runAnalysis(data, boxes, results, messages).finished);

    QList<double> values = {results.Mean,  results.SD,   results.Skewness, results.Kurtosis,
                            results.SumPQ, results.KR20, results.SEM};
    for (const std::vector<double>* array : {&results.ZScore, &results.TScore, &results.ItemPQ,
                                             &results.ItemDifficulty, &results.ItemDiscrimination})
        values += QList<double>(array->begin(), array->end());
    for (int j = 0; j < results.OptionIndex.rows(); ++j)
        for (int c = 0; c < results.OptionIndex.columns(); ++c)
            values << results.OptionIndex(j, c);
    for (double value : values)
        QVERIFY2(std::isfinite(value), qPrintable(QString::number(value)));
}

QTEST_APPLESS_MAIN(TestAnalysisRun)
#include "tst_analysisrun.moc"
