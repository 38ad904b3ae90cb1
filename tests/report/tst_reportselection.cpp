// The report's flags taken from the analysis page's boxes.
#include "report/ReportSelection.h"

#include <QTest>

Q_DECLARE_METATYPE(ReportSelection)

class ReportSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void eachBoxSetsItsOwnFlag_data()
    {
        QTest::addColumn<bool>("statBox");
        QTest::addColumn<int>("index");
        QTest::addColumn<ReportSelection>("expected");
        QTest::newRow("the raw score box selects raw scores")
            << true << 0 << ReportSelection{.IncludeRawScore = true};
        QTest::newRow("the range box selects the range")
            << true << 1 << ReportSelection{.IncludeRange = true};
        QTest::newRow("the mean box selects the mean") << true << 2 << ReportSelection{.IncludeMean = true};
        QTest::newRow("the median box selects the median")
            << true << 3 << ReportSelection{.IncludeMedian = true};
        QTest::newRow("the mode box selects the mode") << true << 4 << ReportSelection{.IncludeMode = true};
        QTest::newRow("the SD box selects the SD") << true << 5 << ReportSelection{.IncludeSD = true};
        QTest::newRow("the spare box selects nothing") << true << 6 << ReportSelection{};
        QTest::newRow("the Z-Score box selects Z scores")
            << true << 7 << ReportSelection{.IncludeZScore = true};
        QTest::newRow("the T-Score box selects T scores")
            << true << 8 << ReportSelection{.IncludeTScore = true};
        QTest::newRow("the skewness box selects skewness")
            << true << 9 << ReportSelection{.IncludeSkewness = true};
        QTest::newRow("the kurtosis box selects kurtosis")
            << true << 10 << ReportSelection{.IncludeKurtosis = true};
        QTest::newRow("the reliability box selects KR-20")
            << false << 0 << ReportSelection{.IncludeReliability = true};
        QTest::newRow("the difficulty box selects difficulty")
            << false << 1 << ReportSelection{.IncludeDifficulty = true};
        QTest::newRow("the discrimination box selects discrimination")
            << false << 2 << ReportSelection{.IncludeDiscrimination = true};
        QTest::newRow("the SEM box selects the SEM") << false << 3 << ReportSelection{.IncludeSEM = true};
        QTest::newRow("the distractor box selects distractors")
            << false << 4 << ReportSelection{.IncludeDistractors = true};
    }

    void eachBoxSetsItsOwnFlag()
    {
        QFETCH(bool, statBox);
        QFETCH(int, index);
        QFETCH(ReportSelection, expected);
        AnalysisSelection boxes;
        (statBox ? boxes.chkStat[index] : boxes.chkAnalyse[index]) = true;
        QVERIFY(reportSelection(boxes) == expected);
    }
};

QTEST_APPLESS_MAIN(ReportSelectionTest)
#include "tst_reportselection.moc"
