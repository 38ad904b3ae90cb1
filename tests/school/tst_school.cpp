// The blueprint's indicators and the gradebook: scores per indicator against the analysis run, the
// blueprint's refusals, and the gradebook read back as a spreadsheet reads it.
#include "AnalysisFixtures.h"
#include "DataGenerator.h"
#include "MessageRecorder.h"
#include "QltInProcess.h"
#include "TestFiles.h"
#include "Workbooks.h"
#include "analysis/AnalysisRun.h"
#include "import/CsvReader.h"
#include "import/XlsxReader.h"
#include "model/DataFileLoader.h"
#include "school/Gradebook.h"
#include "school/IndicatorScores.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

TestData generated(const GeneratedTest& test)
{
    TestData data;
    QString error;
    if (!loadDataBytes(generateDataFile(test), data, error))
        qFatal("%s", qPrintable(error));
    return data;
}

AnalysisResults analysed(const TestData& data, AnalysisSelection boxes = defaultSelection())
{
    AnalysisResults run;
    MessageRecorder messages;
    if (!runAnalysis(data, boxes, run, messages).finished)
        qFatal("the analysis did not finish");
    return run;
}

// Every item to one of `indicators` indicators at random, with its rows in random order.
QByteArray randomBlueprint(int items, int indicators, QRandomGenerator& random)
{
    QList<int> order;
    for (int item = 1; item <= items; ++item)
        order.append(item);
    std::shuffle(order.begin(), order.end(), random);
    QByteArray csv = "ข้อ,ตัวชี้วัด,คำอธิบาย\r\n";
    for (const int item : order)
        csv += QByteArray::number(item) + ",ว 1." + QByteArray::number(random.bounded(indicators) + 1) +
               " ม.2/1,\"คำอธิบาย, ยาว\"\r\n";
    return csv;
}

Blueprint blueprintOf(const QByteArray& csv, int items)
{
    Blueprint blueprint;
    QString error;
    if (!readBlueprintBytes(csv, QStringLiteral("class.blueprint.csv"), items, blueprint, error))
        qFatal("%s", qPrintable(error));
    return blueprint;
}

// The cells of a table, row by row, as texts.
QList<QStringList> cellsOf(const Table& table)
{
    QList<QStringList> rows;
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (qsizetype column = 0; column < table.columnCount(row); ++column)
            cells << table.cell(row, column).toString();
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        rows << cells;
    }
    return rows;
}

// A class of eight whose percentile ranks and stanines were worked out by hand.
TestData handCheckedClass()
{
    return dataWithScores({2, 5, 5, 7, 8, 8, 8, 10}, 10);
}

TestDiagnostics diagnosed(const TestData& data)
{
    return diagnoseTest(data, analysed(data), 4);
}

} // namespace

class SchoolTest : public QObject {
    Q_OBJECT

private slots:
    void indicatorScoresAddUpToRawScores_data();
    void indicatorScoresAddUpToRawScores();
    void indicatorKr20IsTheRunsOnItsItems_data();
    void indicatorKr20IsTheRunsOnItsItems();
    void blueprintRefusals_data();
    void blueprintRefusals();
    void workbookBlueprint();
    void aBlueprintProblemWritesNothing();
    void percentileRanksAndStanines();
    void gradebookCsvReadsBack();
    void gradebookWorkbookReadsBack();
};

void SchoolTest::indicatorScoresAddUpToRawScores_data()
{
    QTest::addColumn<int>("students");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("indicators");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("a class, 8 indicators") << 40 << 30 << 8 << 1u;
    QTest::newRow("one indicator") << 25 << 12 << 1 << 2u;
    QTest::newRow("more indicators than items can fill") << 60 << 5 << 9 << 3u;
    QTest::newRow("blanks in the answers") << 120 << 80 << 12 << 4u;
}

// Whatever the blueprint, a pupil's indicator scores share out the raw score the run gave.
void SchoolTest::indicatorScoresAddUpToRawScores()
{
    QFETCH(int, students);
    QFETCH(int, items);
    QFETCH(int, indicators);
    QFETCH(quint32, seed);
    const TestData data =
        generated({.students = students, .items = items, .seed = seed, .omissionRate = 0.03});
    const AnalysisResults run = analysed(data);
    QRandomGenerator random(seed);
    for (int round = 0; round < 5; ++round) {
        const Blueprint blueprint = blueprintOf(randomBlueprint(items, indicators, random), items);
        const IndicatorScores scores = scoreIndicators(data, blueprint, DefaultPassMark);
        for (int i = 1; i <= students; ++i) {
            int sum = 0;
            for (const std::vector<int>& indicator : scores.scores)
                sum += indicator[std::size_t(i) - 1];
            QCOMPARE(sum, int(run.Score[std::size_t(i)]));
        }
    }
}

void SchoolTest::indicatorKr20IsTheRunsOnItsItems_data()
{
    QTest::addColumn<int>("students");
    QTest::addColumn<int>("items");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("a class") << 40 << 30 << 11u;
    QTest::newRow("a large class") << 500 << 60 << 12u;
    QTest::newRow("a small class") << 6 << 20 << 13u;
}

// An indicator's KR-20 is what the analysis run reports for a test of just its items.
void SchoolTest::indicatorKr20IsTheRunsOnItsItems()
{
    QFETCH(int, students);
    QFETCH(int, items);
    QFETCH(quint32, seed);
    const TestData data = generated({.students = students, .items = items, .seed = seed});
    QRandomGenerator random(seed);
    const Blueprint blueprint = blueprintOf(randomBlueprint(items, 6, random), items);
    const IndicatorScores scores = scoreIndicators(data, blueprint, DefaultPassMark);
    int compared = 0;
    for (qsizetype k = 0; k < blueprint.indicators.size(); ++k) {
        const QList<int>& its = blueprint.indicators[k].items;
        QString key;
        QStringList answers;
        for (const int item : its)
            key += data.Keys[item];
        for (int i = 1; i <= data.NumStud; ++i) {
            QString row;
            for (const int item : its)
                row +=
                    data.AnsMatrix.at(i, item).isEmpty() ? QStringLiteral(" ") : data.AnsMatrix.at(i, item);
            answers << row;
        }
        const TestData subTest = makeTestData(key, answers);
        AnalysisResults run;
        MessageRecorder messages;
        AnalysisSelection boxes =
            only({StatBox::RawScore, StatBox::Mean, StatBox::SD}, {AnalyseBox::Reliability});
        runAnalysis(subTest, boxes, run, messages);
        const Index kr20 = scores.kr20[std::size_t(k)];
        if (its.size() < IndicatorKr20MinItems || !boxes.chkAnalyse[AnalyseBox::Reliability]) {
            QVERIFY2(!kr20, qPrintable(blueprint.indicators[k].code));
            continue;
        }
        QVERIFY2(kr20, qPrintable(blueprint.indicators[k].code));
        QCOMPARE(*kr20, run.KR20);
        ++compared;
    }
    QVERIFY(compared > 0);
}

void SchoolTest::blueprintRefusals_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("expected"); // what the message must say
    const QByteArray header = "ข้อ,ตัวชี้วัด,ความยาก\r\n";
    QTest::newRow("an item past the test") << header + "1,ค 1.1,ง่าย\r\n11,ค 1.1,\r\n"
                                           << QStringLiteral("แถว 3: ไม่มีข้อ 11");
    QTest::newRow("item 0") << header + "0,ค 1.1,\r\n" << QStringLiteral("แถว 2: ไม่มีข้อ 0");
    QTest::newRow("a negative item") << header + "-2,ค 1.1,\r\n" << QStringLiteral("แถว 2: ไม่มีข้อ -2");
    QTest::newRow("no number") << header + "ข้อหนึ่ง,ค 1.1,\r\n"
                               << QStringLiteral("แถว 2: ข้อ 'ข้อหนึ่ง' ไม่ใช่เลขข้อ");
    QTest::newRow("an item twice, in Thai digits") << header + "3,ค 1.1,\r\n\r\n๓,ค 1.2,\r\n"
                                                   << QStringLiteral("แถว 4: ข้อ 3 อยู่ในแถว 2 แล้ว");
    QTest::newRow("a missing code") << header + "1,ค 1.1,\r\n2,  ,ยาก\r\n"
                                    << QStringLiteral("แถว 3: ข้อ 2 ไม่มีรหัสตัวชี้วัด");
    QTest::newRow("an unknown difficulty") << header + "1,ค 1.1,ยากมาก\r\n"
                                           << QStringLiteral("แถว 2: ไม่รู้จักความยาก 'ยากมาก'");
    QTest::newRow("no indicator column")
        << QByteArray("item,description\r\n1,x\r\n") << QStringLiteral("แถว 1: หัวตารางไม่มีคอลัมน์ ตัวชี้วัด");
    QTest::newRow("only a header") << header << QStringLiteral("มีแต่หัวตาราง");
}

void SchoolTest::blueprintRefusals()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, expected);
    Blueprint blueprint;
    QString error;
    QVERIFY(!readBlueprintBytes(csv, QStringLiteral("6-1.blueprint.csv"), 10, blueprint, error));
    QVERIFY2(error.contains(QStringLiteral("6-1.blueprint.csv")), qPrintable(error));
    QVERIFY2(error.contains(expected), qPrintable(error));
}

// A blueprint saved by Excel: headers as shared strings, item numbers as numbers, a column between.
void SchoolTest::workbookBlueprint()
{
    const QList<QString> shared{QStringLiteral("ข้อที่"), QStringLiteral("หมายเหตุ"), QStringLiteral("Indicator"),
                                QStringLiteral("ค 1.1"), QStringLiteral("ค 1.2")};
    const QByteArray header = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                              "<c r=\"C1\" t=\"s\"><v>2</v></c></row>";
    const auto itemRow = [](int row, int item, int code) {
        return QByteArray("<row r=\"%1\"><c r=\"A%1\"><v>%2</v></c><c r=\"C%1\" t=\"s\"><v>%3</v></c></row>")
            .replace("%1", QByteArray::number(row))
            .replace("%2", QByteArray::number(item))
            .replace("%3", QByteArray::number(code));
    };
    Blueprint blueprint;
    QString error;
    QVERIFY2(
        readBlueprintBytes(workbook(header + itemRow(2, 2, 4) + itemRow(3, 1, 3) + itemRow(5, 3, 4), shared),
                           QStringLiteral("class.blueprint.xlsx"), 4, blueprint, error),
        qPrintable(error));
    QCOMPARE(blueprint.indicators.size(), qsizetype(2));
    QCOMPARE(blueprint.indicators[0].code, QStringLiteral("ค 1.2"));
    QCOMPARE(blueprint.indicators[0].items, (QList<int>{2, 3}));
    QCOMPARE(blueprint.indicators[1].items, QList<int>{1});
    QCOMPARE(blueprint.indicatorOf[4], -1);

    QVERIFY(!readBlueprintBytes(workbook(header + itemRow(2, 2, 4) + itemRow(7, 2, 3), shared),
                                QStringLiteral("class.blueprint.xlsx"), 4, blueprint, error));
    QVERIFY2(error.contains(QStringLiteral("class.blueprint.xlsx แถว 7: ข้อ 2 อยู่ในแถว 2 แล้ว")),
             qPrintable(error));
}

// A blueprint refused, or one that cannot be read, leaves every output of the run as it was, and no
// output may replace the blueprint beside the data file.
void SchoolTest::aBlueprintProblemWritesNothing()
{
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("class.txt"));
    QVERIFY(QFile::copy(examplePath(QStringLiteral("class-4choices.txt")), data));
    const QString html = folder.filePath(QStringLiteral("class.html"));
    const QString gradebook = folder.filePath(QStringLiteral("class.csv"));
    writeBytes(html, "earlier");

    writeBytes(folder.filePath(QStringLiteral("class.blueprint.csv")), "ข้อ,ตัวชี้วัด\r\n41,ค 1.1\r\n");
    QltRun run =
        runQltInProcess({QStringLiteral("--html"), html, QStringLiteral("--gradebook"), gradebook, data});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("class.blueprint.csv แถว 2: ไม่มีข้อ 41")), qPrintable(run.err));
    QCOMPARE(readBytes(html), QByteArray("earlier"));
    QVERIFY(!QFile::exists(gradebook));

    run = runQltInProcess({QStringLiteral("--blueprint"), folder.filePath(QStringLiteral("none.csv")),
                           QStringLiteral("--html"), html, data});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("อ่านแผนผังข้อสอบ none.csv ไม่ได้")), qPrintable(run.err));
    QCOMPARE(readBytes(html), QByteArray("earlier"));

    run = runQltInProcess(
        {QStringLiteral("--gradebook"), folder.filePath(QStringLiteral("class.blueprint.csv")), data});
    QCOMPARE(run.status, 2);
    QCOMPARE(readBytes(folder.filePath(QStringLiteral("class.blueprint.csv"))),
             QByteArray("ข้อ,ตัวชี้วัด\r\n41,ค 1.1\r\n"));
}

// Scores 2, 5, 5, 7, 8, 8, 8, 10 of 8 pupils: the percentile rank of 8 is (4 below + 3 / 2) / 8 =
// 68.75 %, stanine 6 (60 to 77); of 2, (0 + 0.5) / 8 = 6.25 %, stanine 2 (4 to 11).
void SchoolTest::percentileRanksAndStanines()
{
    const TestData data = handCheckedClass();
    const std::vector<Sheet> sheets = gradebookSheets(data, diagnosed(data), nullptr, nullptr);
    const QStringList expectedRanks{"6.3", "25.0", "25.0", "43.8", "68.8", "68.8", "68.8", "93.8"};
    const QStringList expectedStanines{"2", "4", "4", "5", "6", "6", "6", "8"};
    const Sheet& pupils = sheets.front();
    QCOMPARE(pupils.rows.size(), std::size_t(9));
    for (int i = 1; i <= 8; ++i) {
        QCOMPARE(pupils.rows[std::size_t(i)][6].text, expectedRanks[i - 1]);
        QCOMPARE(pupils.rows[std::size_t(i)][7].text, expectedStanines[i - 1]);
    }
}

// The CSV gradebook parses back as a spreadsheet would: a byte-order mark, a row per pupil, and a name
// holding a comma and a quote mark in one field.
void SchoolTest::gradebookCsvReadsBack()
{
    TestData data = handCheckedClass();
    data.StudName = makeTextArray(data.NumStud);
    data.StudName[2] = QStringLiteral("สมชาย \"ต้น\", ใจดี");
    data.StudName[5] = QStringLiteral("line\r\nbreak");
    const Blueprint blueprint = blueprintOf("item,indicator\r\n1,A\r\n2,B\r\n3,A\r\n", 10);
    const IndicatorScores scores = scoreIndicators(data, blueprint, DefaultPassMark);
    const std::vector<Sheet> sheets = gradebookSheets(data, diagnosed(data), &blueprint, &scores);
    const QByteArray bytes = composeSheetCsv(sheets.front()).toUtf8();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), qsizetype(data.NumStud + 1 + 1)); // the header, the pupils, the broken name

    Table table;
    QString error;
    QVERIFY2(readCsv(bytes, QStringLiteral("gradebook.csv"), table, error), qPrintable(error));
    const QList<QStringList> rows = cellsOf(table);
    QCOMPARE(rows.size(), qsizetype(data.NumStud + 1));
    QCOMPARE(rows[0].mid(8), (QStringList{QStringLiteral("ร้อยละ A"), QStringLiteral("ร้อยละ B")}));
    const AnalysisResults run = analysed(data);
    for (int i = 1; i <= data.NumStud; ++i) {
        QCOMPARE(rows[i].size(), qsizetype(10));
        QCOMPARE(rows[i][0], data.StudID[i]);
        QCOMPARE(rows[i][1], data.StudName[i]);
        QCOMPARE(rows[i][2].toInt(), int(run.Score[std::size_t(i)]));
    }
}

// The workbook opens with the program's own reader and shows the cells the sheets hold.
void SchoolTest::gradebookWorkbookReadsBack()
{
    if (!gradebookXlsxAvailable())
        QSKIP("built without libxlsxwriter");
    TestData data = generated({.students = 30, .items = 12, .seed = 21, .omissionRate = 0.05});
    const Blueprint blueprint = blueprintOf("ข้อ,ตัวชี้วัด\r\n1,ค 1\r\n2,ค 1\r\n3,ค 1\r\n4,ค 2\r\n", 12);
    const IndicatorScores scores = scoreIndicators(data, blueprint, 60);
    const std::vector<Sheet> sheets = gradebookSheets(data, diagnosed(data), &blueprint, &scores);
    QTemporaryDir folder;
    QByteArray bytes;
    QString error;
    QVERIFY2(composeGradebookXlsx(sheets, folder.path(), bytes, error), qPrintable(error));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList()); // no temporary file left

    for (const Sheet& sheet : sheets) {
        Table table;
        QVERIFY2(readXlsx(bytes, QStringLiteral("gradebook.xlsx"), sheet.name, table, error),
                 qPrintable(error));
        const QList<QStringList> rows = cellsOf(table);
        QCOMPARE(rows.size(), qsizetype(sheet.rows.size()));
        for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
            SheetRow expected = sheet.rows[r];
            while (!expected.empty() && expected.back().text.isEmpty())
                expected.pop_back();
            QCOMPARE(rows[qsizetype(r)].size(), qsizetype(expected.size()));
            for (std::size_t c = 0; c < expected.size(); ++c) {
                const QString read = rows[qsizetype(r)][qsizetype(c)];
                if (expected[c].isNumber)
                    QCOMPARE(read.toDouble(), expected[c].value());
                else
                    QCOMPARE(read, expected[c].text);
            }
        }
    }
}

QTEST_GUILESS_MAIN(SchoolTest)
#include "tst_school.moc"
