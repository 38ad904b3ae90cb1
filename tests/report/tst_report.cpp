// The whole result report against golden files (code page 874, CR LF), one per layout the
// selection can produce, and writing it to disk.
#include "AnalysisFixtures.h"
#include "TestFiles.h"
#include "report/ResultReport.h"
#include "report/TextFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

enum class Fixture { FourChoices, FiveChoices, NoChoices, NoUsableItems, LongTest };

// An array indexed like the test data: 0 and count + 1 unused around the values.
std::vector<double> indexedFromOne(std::initializer_list<double> values)
{
    std::vector<double> array{0};
    array.insert(array.end(), values);
    array.push_back(0);
    return array;
}

QStringList textsFromOne(std::initializer_list<QString> texts)
{
    QStringList array = makeTextArray(int(texts.size()));
    std::copy(texts.begin(), texts.end(), array.begin() + 1);
    return array;
}

// Four items keyed 2 4 1 3 and four examinees whose identifiers are 11, 12, 26 and 3 characters
// long; the third has a Thai name with a combining vowel, the fourth a name with a letter code page
// 874 lacks.
//
//   answers  score  Z = (score - 2.5) / SD   T = 50 + 10 Z
//   2413     4       1.162                    61.62
//   2411     3       0.387                    53.87
//   2132     1      -1.162                    38.38
//   3412     2      -0.387                    46.13
//
// Mean 2.5; SD = sqrt((4 * 30 - 10^2) / (4 * 3)) = 1.29099; ranked 4 3 2 1, so the median is
// (3 + 2) / 2 rounded to even, 2, and the mode 3 * 2 - 2 * 2.5 = 1. Deviation powers summed with
// rounding after each addition: SumDev2 4, SumDev3 0, SumDev4 10, so skewness 0 and kurtosis
// 10/4 / 1 = 2.5. Items: p = 3/4, 3/4, 3/4, 1/4. Groups of round(4 * 0.27) = 1: the first examinee
// above, the third below; r = 0, 1, 1, 1, so items 2, 3 and 4 are usable. KR-20 = 4/3 * (1 -
// 0.75 / SD^2) = 0.7333; SEM = SD * sqrt(1 - KR-20) = 0.6667.
TestData fourExaminees(int choices)
{
    TestData data;
    setClass(data, QStringLiteral("2413"),
             {{"12345678901", "2413", ""},
              {"123456789012", "2411", ""},
              {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "2132", QStringLiteral("\u0e19\u0e34\u0e14\u0e32")},
              {"004", "3412", QStringLiteral("Zo\u00eb")}});
    if (choices > 0)
        data.setChoices(choices);
    return data;
}

AnalysisResults fourExamineesResults(int choices)
{
    const QString ratherEasy = QStringLiteral("ค่อนข้างง่าย"), ratherHard = QStringLiteral("ค่อนข้างยาก");
    const QString discriminatesVeryWell = QStringLiteral("จำแนกดีมาก");
    const QString discriminatesPoorly = QStringLiteral("จำแนกได้ไม่ดี");
    const QString distractsVeryWell = QStringLiteral("ลวงได้ดีมาก");
    const QString distractsPoorly = QStringLiteral("ลวงได้ไม่ดี");

    AnalysisResults r;
    const double sd = std::sqrt(20.0 / 12);
    r.Score = indexedFromOne({4, 3, 1, 2});
    r.Mean = 2.5;
    r.SD = sd;
    r.Median = 2;
    r.Mode = 1;
    r.MaxScore = 4;
    r.MinScore = 1;
    r.ScoreRange = 3;
    r.Skewness = 0;
    r.Kurtosis = 2.5;
    r.ZScore = indexedFromOne({1.5 / sd, 0.5 / sd, -1.5 / sd, -0.5 / sd});
    r.TScore = indexedFromOne({50 + 15 / sd, 50 + 5 / sd, 50 - 15 / sd, 50 - 5 / sd});
    r.KR20 = 4.0 / 3 * (1 - 0.75 / (sd * sd));
    r.SEM = sd * std::sqrt(1 - r.KR20);
    r.ItemDifficulty = indexedFromOne({0.75, 0.75, 0.75, 0.25});
    r.DifficultyGrade = textsFromOne({ratherEasy, ratherEasy, ratherEasy, ratherHard});
    r.ItemDiscrimination = indexedFromOne({0, 1, 1, 1});
    r.DiscriminationGrade = textsFromOne(
        {discriminatesPoorly, discriminatesVeryWell, discriminatesVeryWell, discriminatesVeryWell});
    // Upper examinee answered 2413, lower 2132: a choice the lower one took draws, the key the
    // upper one alone took discriminates.
    const double optionIndex[4][5] = {{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {1, 0, 1, 0, 0}, {0, 1, 1, 0, 0}};
    const int keyedChoice[4] = {2, 4, 1, 3};
    r.OptionIndex = Grid<double>(6, choices + 2);
    r.OptionGrade = Grid<QString>(6, choices + 2);
    for (int j = 1; j <= 4; ++j) {
        for (int k = 1; k <= choices; ++k) {
            const double x = optionIndex[j - 1][k - 1];
            r.OptionIndex(j, k) = x;
            if (k == keyedChoice[j - 1])
                r.OptionGrade(j, k) = x == 1 ? discriminatesVeryWell : discriminatesPoorly;
            else
                r.OptionGrade(j, k) = x == 1 ? distractsVeryWell : distractsPoorly;
        }
    }
    r.UsableItems = QStringLiteral("2 3 4 ");
    return r;
}

// A test of 2000 items taken by three examinees, for numbers of four digits: scores 1234, 1240 and
// 1229, mean 3703/3 = 1234.33, median 1234, mode 3 * 1234 - 2 * 1234.33 = 1233.33, rounded 1233,
// SD = sqrt((3 * 4570797 - 3703^2) / 6) = 5.5076.
TestData longTest()
{
    TestData data;
    setClass(data, QString(2000, '1'), {{"S1", "", ""}, {"S2", "", ""}, {"S3", "", ""}});
    return data;
}

AnalysisResults longTestResults()
{
    AnalysisResults r;
    const double mean = 3703.0 / 3;
    const double sd = std::sqrt(182.0 / 6);
    r.Score = indexedFromOne({1234, 1240, 1229});
    r.Mean = mean;
    r.SD = sd;
    r.Median = 1234;
    r.Mode = 1233;
    r.MaxScore = 1240;
    r.MinScore = 1229;
    r.ScoreRange = 11;
    r.ZScore = indexedFromOne({(1234 - mean) / sd, (1240 - mean) / sd, (1229 - mean) / sd});
    return r;
}

struct Inputs {
    TestData data;
    AnalysisResults results;
};

Inputs inputs(Fixture fixture)
{
    switch (fixture) {
    case Fixture::FourChoices:
        return {fourExaminees(4), fourExamineesResults(4)};
    case Fixture::FiveChoices:
        return {fourExaminees(5), fourExamineesResults(5)};
    case Fixture::NoChoices:
        return {fourExaminees(0), fourExamineesResults(0)};
    case Fixture::NoUsableItems: {
        Inputs empty{fourExaminees(4), fourExamineesResults(4)};
        empty.results.UsableItems.clear();
        return empty;
    }
    case Fixture::LongTest:
        return {longTest(), longTestResults()};
    }
    return {};
}

// On a difference, names the first differing line decoded rather than a byte offset.
QString differenceFromGolden(const QString& goldenName, const QByteArray& actual)
{
    const QByteArray expected = readBytes(testDataPath(goldenName));
    if (expected.isEmpty())
        return QStringLiteral("golden file %1 is missing").arg(goldenName);
    if (actual == expected)
        return {};
    const QString difference = firstDifference(decodeCp874(expected), decodeCp874(actual));
    return difference.isEmpty() ? QStringLiteral("the bytes differ where the decoded lines agree")
                                : difference;
}

} // namespace

Q_DECLARE_METATYPE(Fixture)

class ReportTest : public QObject {
    Q_OBJECT

private slots:
    void reportMatchesItsGoldenFile_data()
    {
        using namespace StatBox;
        using namespace AnalyseBox;
        QTest::addColumn<Fixture>("fixture");
        QTest::addColumn<AnalysisSelection>("selection");
        QTest::addColumn<QString>("golden");

        QTest::newRow("the page's default selection prints all three parts and the 110 item table")
            << Fixture::FourChoices << defaultSelection() << "report-default.doc";
        QTest::newRow("no box prints the frame alone, the closing line ending in two blanks")
            << Fixture::NoUsableItems << AnalysisSelection{} << "report-nothing.doc";
        QTest::newRow("mode, skewness and kurtosis alone open no statistics part")
            << Fixture::FourChoices << only({Mode, Skewness, Kurtosis}, {}) << "report-moments-only.doc";
        QTest::newRow("difficulty alone leaves two empty lines before the closing line")
            << Fixture::FourChoices << only({}, {Difficulty}) << "report-difficulty-only.doc";
        QTest::newRow("discrimination alone leaves one empty line before the closing line")
            << Fixture::FourChoices << only({}, {Discrimination}) << "report-discrimination-only.doc";
        QTest::newRow("Z and T scores with distractors use the 011 layouts")
            << Fixture::FourChoices << only({ZScore, TScore}, {Discrimination, Distractors})
            << "report-distractors-011.doc";
        QTest::newRow("raw scores with all item analyses of five choices use the 111 item layout")
            << Fixture::FiveChoices << only({RawScore}, {Difficulty, Discrimination, Distractors})
            << "report-distractors-111.doc";
        QTest::newRow("distractors without a number of choices show each item's line alone")
            << Fixture::NoChoices << only({ZScore}, {Discrimination, Distractors}) << "report-no-choices.doc";
        QTest::newRow("four-digit statistics are grouped and counts are not")
            << Fixture::LongTest << only({RawScore, Range, Mean, Median, Mode, SD, ZScore}, {})
            << "report-long-test.doc";
    }

    void reportMatchesItsGoldenFile()
    {
        QFETCH(Fixture, fixture);
        QFETCH(AnalysisSelection, selection);
        QFETCH(QString, golden);
        const Inputs in = inputs(fixture);
        const QString report = composeReport(in.data, in.results, reportSelection(selection));
        const QString difference = differenceFromGolden(golden, encodeText(report));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // A selection that asks for more than the last run computed prints zeros and empty grades.
    void resultsNoRunComputedPrintAsZeros()
    {
        const TestData data = fourExaminees(4);
        const QString report = composeReport(data, AnalysisResults{}, reportSelection(defaultSelection()));
        const QString firstRow = "  12345678901" + QString(15, ' ') + " 0 " + QString(11, ' ') + "0.00" +
                                 QString(10, ' ') + "0.00\r\n";
        QVERIFY(report.contains(firstRow));
    }

    void writtenReportHasTheComposedBytesAndReplacesAnEarlierOne()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(ResultReportFileName);
        const Inputs in = inputs(Fixture::FourChoices);
        const ReportSelection selection = reportSelection(defaultSelection());
        QVERIFY(WriteReport(path, in.data, in.results, selection));
        QVERIFY(WriteReport(path, in.data, in.results, selection));
        QCOMPARE(readBytes(path), encodeText(composeReport(in.data, in.results, selection)));
    }
};

QTEST_APPLESS_MAIN(ReportTest)
#include "tst_report.moc"
