#include "AnalysisFixtures.h"

#include "MessageRecorder.h"
#include "analysis/AnalysisRun.h"
#include "analysis/Grades.h"
#include "analysis/ItemAnalysis.h"

#include <QTest>

class TestItemAnalysis : public QObject {
    Q_OBJECT
private slots:
    void difficultyGrades_data();
    void difficultyGrades();
    void discriminationGrades_data();
    void discriminationGrades();
    void distractorGrades_data();
    void distractorGrades();
    void groupSize_data();
    void groupSize();
    void tenExamineesWorkedExample();
    void choiceCount_data();
    void choiceCount();
    void noChoiceCountGradesNothing();
    void rankedExamineesAnswerWithTheirOwnRow();
};

namespace {

const AnalysisSelection itemBoxes =
    only({}, {AnalyseBox::Difficulty, AnalyseBox::Discrimination, AnalyseBox::Distractors});

AnalysisResults analyse(const TestData& data, AnalysisSelection boxes = itemBoxes)
{
    AnalysisResults results;
    MessageRecorder messages;
    runAnalysis(data, boxes, results, messages);
    return results;
}

} // namespace

void TestItemAnalysis::difficultyGrades_data()
{
    QTest::addColumn<double>("p");
    QTest::addColumn<QString>("grade");

    QTest::newRow("p 0 is very difficult") << 0.0 << "ยากมาก";
    QTest::newRow("p just below 0.2 is very difficult") << 0.1999999 << "ยากมาก";
    QTest::newRow("p exactly 0.2 is rather difficult") << 2.0 / 10 << "ค่อนข้างยาก";
    QTest::newRow("p exactly 0.4 is of moderate difficulty") << 4.0 / 10 << "ยากพอเหมาะ";
    QTest::newRow("p exactly 0.6 is rather easy") << 6.0 / 10 << "ค่อนข้างง่าย";
    QTest::newRow("p just below 0.8 is rather easy") << 0.7999999 << "ค่อนข้างง่าย";
    QTest::newRow("p exactly 0.8 is very easy") << 8.0 / 10 << "ง่ายมาก";
    QTest::newRow("p 1 is very easy") << 1.0 << "ง่ายมาก";
}

void TestItemAnalysis::difficultyGrades()
{
    QFETCH(double, p);
    QTEST(difficultyGrade(p), "grade");
}

void TestItemAnalysis::discriminationGrades_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<QString>("grade");

    QTest::newRow("r 1.0 discriminates very well") << 1.0 << "จำแนกดีมาก";
    QTest::newRow("r exactly 0.4 discriminates very well") << 4.0 / 10 << "จำแนกดีมาก";
    QTest::newRow("r just below 0.4 discriminates well") << 0.3999999 << "จำแนกดี";
    QTest::newRow("r exactly 0.3 discriminates well") << 3.0 / 10 << "จำแนกดี";
    QTest::newRow("r exactly 0.2 discriminates fairly") << 2.0 / 10 << "จำแนกพอใช้";
    QTest::newRow("r just below 0.2 does not discriminate") << 0.1999999 << "จำแนกได้ไม่ดี";
    QTest::newRow("a negative r does not discriminate") << -1.0 / 3 << "จำแนกได้ไม่ดี";
}

void TestItemAnalysis::discriminationGrades()
{
    QFETCH(double, r);
    QTEST(discriminationGrade(r), "grade");
}

void TestItemAnalysis::distractorGrades_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("grade");

    QTest::newRow("x 1.0 distracts very well") << 1.0 << "ลวงได้ดีมาก";
    QTest::newRow("x exactly 0.4 distracts very well") << 4.0 / 10 << "ลวงได้ดีมาก";
    QTest::newRow("x exactly 0.3 distracts well") << 3.0 / 10 << "ลวงได้ดี";
    QTest::newRow("x exactly 0.2 distracts fairly") << 2.0 / 10 << "ลวงได้พอใช้";
    QTest::newRow("x 0 does not distract") << 0.0 << "ลวงได้ไม่ดี";
    QTest::newRow("a distractor the upper group prefers does not distract") << -0.5 << "ลวงได้ไม่ดี";
}

void TestItemAnalysis::distractorGrades()
{
    QFETCH(double, x);
    QTEST(distractorGrade(x), "grade");
}

void TestItemAnalysis::groupSize_data()
{
    QTest::addColumn<int>("examinees");
    QTest::addColumn<int>("size");

    QTest::newRow("10 examinees give groups of 3") << 10 << 3;
    QTest::newRow("30 examinees give groups of 8") << 30 << 8;
    QTest::newRow("50 examinees give 13.5, rounded to the even 14") << 50 << 14;
    QTest::newRow("150 examinees give 40.5, rounded to the even 40") << 150 << 40;
    QTest::newRow("250 examinees give 67.5, rounded to the even 68") << 250 << 68;
    QTest::newRow("2 examinees give groups of 1") << 2 << 1;
    QTest::newRow("1 examinee gives no groups") << 1 << 0;
    QTest::newRow("the largest class gives groups of 8847") << MaxCount << 8847;
}

void TestItemAnalysis::groupSize()
{
    QFETCH(int, examinees);
    QTEST(groupSizeFor(examinees), "size");
}

void TestItemAnalysis::tenExamineesWorkedExample()
{
    // Item 1 keyed "2", answered by rank 1..10: 2 2 2 | 2 4 2 4 | 2 1 3. Eighteen items keyed "1"
    // follow, of which rank r has the first 2 × (10 − r) right, so the ranks are strict.
    const QString item1 = QStringLiteral("2222424213");
    QStringList byRank;
    for (int r = 1; r <= 10; ++r)
        byRank << item1[r - 1] + QString(2 * (10 - r), u'1') + QString(18 - 2 * (10 - r), u'2');
    const QList<int> entryOrder = {7, 2, 10, 4, 1, 9, 3, 6, 8, 5};
    QStringList answers;
    for (int rank : entryOrder)
        answers << byRank[rank - 1];
    TestData data = makeTestData(u'2' + QString(18, u'1'), answers);
    data.setChoices(4);

    const AnalysisResults results = analyse(data);
    QCOMPARE(results.ItemCorrect[1], 6);
    QCOMPARE(results.ItemDifficulty[1], 0.6);
    QCOMPARE(results.DifficultyGrade[1], "ค่อนข้างง่าย");
    QCOMPARE(results.GroupSize, 3);
    QCOMPARE(results.UpperCorrect[1], 3);
    QCOMPARE(results.LowerCorrect[1], 1);
    QCOMPARE(results.ItemDiscrimination[1], 2.0 / 3);
    QCOMPARE(results.DiscriminationGrade[1], "จำแนกดีมาก");
    const QList<int> upper = {0, 3, 0, 0};
    const QList<int> lower = {1, 1, 1, 0};
    const QList<double> index = {1.0 / 3, 2.0 / 3, 1.0 / 3, 0};
    const QStringList grade = {"ลวงได้ดี", "จำแนกดีมาก", "ลวงได้ดี", "ลวงได้ไม่ดี"};
    for (int c = 1; c <= 4; ++c) {
        QCOMPARE(results.UpperChoice(1, c), upper[c - 1]);
        QCOMPARE(results.LowerChoice(1, c), lower[c - 1]);
        QCOMPARE(results.OptionIndex(1, c), index[c - 1]);
        QCOMPARE(results.OptionGrade(1, c), grade[c - 1]);
    }
    // Items 4 and 5 have p exactly 0.8 (graded very easy, yet usable), items 16 and 17 exactly 0.2.
    QCOMPARE(results.DifficultyGrade[4], "ง่ายมาก");
    QCOMPARE(results.UsableItems, QStringLiteral("1 4 5 6 7 8 9 10 11 12 13 14 15 16 17 "));
}

void TestItemAnalysis::choiceCount_data()
{
    QTest::addColumn<int>("choices");
    QTest::addColumn<int>("lowerChoseFive");

    QTest::newRow("with 4 choices an answer 5 is no choice") << 4 << 0;
    QTest::newRow("with 5 choices an answer 5 is choice 5") << 5 << 1;
}

void TestItemAnalysis::choiceCount()
{
    QFETCH(int, choices);
    // Groups of 1: the upper member answers "11", the lower one "55".
    TestData data = makeTestData("11", {"11", "15", "51", "55"});
    data.setChoices(choices);
    const AnalysisResults results = analyse(data);

    QCOMPARE(results.OptionGrade.columns(), choices + 2);
    QTEST(results.LowerChoice(1, 5), "lowerChoseFive");
    int lowerChoseAny = 0;
    for (int c = 1; c <= choices; ++c)
        lowerChoseAny += results.LowerChoice(1, c);
    QTEST(lowerChoseAny, "lowerChoseFive");
}

void TestItemAnalysis::noChoiceCountGradesNothing()
{
    AnalysisResults results;
    MessageRecorder messages;
    AnalysisSelection boxes = itemBoxes;
    const RunOutcome outcome = runAnalysis(makeTestData("12", {"12", "11", "22"}), boxes, results, messages);

    QVERIFY(outcome.computed.chkAnalyse[AnalyseBox::Distractors]);
    QCOMPARE(outcome.numChoices, 0);
    QCOMPARE(results.OptionGrade.rows(), 4);
    QCOMPARE(results.OptionGrade.columns(), 2);
    for (int j = 0; j < 4; ++j)
        QVERIFY(results.OptionGrade(j, 0).isEmpty() && results.OptionGrade(j, 1).isEmpty());
}

void TestItemAnalysis::rankedExamineesAnswerWithTheirOwnRow()
{
    // The first and the last examinee share the identifier 7. The last is the upper group (all
    // right), the first the lower group (all wrong); a search by identifier would count the first
    // examinee's wrong answers for the upper group.
    const TestData data = makeTestData("11", {"22", "12", "21", "11"}, {"7", "8", "9", "7"});
    const AnalysisResults results = analyse(data);

    QCOMPARE(results.GroupSize, 1);
    QCOMPARE(used(results.UpperCorrect), QList({1, 1}));
    QCOMPARE(used(results.LowerCorrect), QList({0, 0}));
    QCOMPARE(used(results.ItemDiscrimination), QList({1.0, 1.0}));
}

QTEST_APPLESS_MAIN(TestItemAnalysis)
#include "tst_itemanalysis.moc"
