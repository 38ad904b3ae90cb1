// The spreadsheet and visual reports as structures (fields, rows, elements), and qlt's --csv and --html.
#include "AnalysisFixtures.h"
#include "MessageRecorder.h"
#include "QltInProcess.h"
#include "TestFiles.h"
#include "analysis/AnalysisRun.h"
#include "cli/QltCommand.h"
#include "diagnostics/CsvReport.h"
#include "diagnostics/HtmlReport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// Item 1 everyone answers right, so its correlations are undefined; item 2 is keyed with a quote mark,
// which a CSV field must quote.
TestData smallClass()
{
    TestData data = makeTestData(QStringLiteral("1\"3"), {"1\"3", "1\"4", "123", "1\"2", "114"},
                                 {"A<1>", "A&2", "A3", "A4", "A5"});
    data.setChoices(4);
    return data;
}

TestDiagnostics diagnose(const TestData& data)
{
    AnalysisResults run;
    MessageRecorder messages;
    AnalysisSelection boxes = defaultSelection();
    runAnalysis(data, boxes, run, messages);
    return diagnoseTest(data, run, 4);
}

// Splits one CSV record into its fields, undoing RFC 4180 quoting.
QStringList csvFields(const QString& line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype k = 0; k < line.size(); ++k) {
        const QChar c = line[k];
        if (quoted && c == u'"' && k + 1 < line.size() && line[k + 1] == u'"')
            fields.last() += line[++k];
        else if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            fields << QString();
        else
            fields.last() += c;
    }
    return fields;
}

struct HtmlShape {
    QString error;           // the XML reader's complaint, if the page is not well formed
    QStringList elements;    // every element name, in order
    QStringList references;  // every href and src value
    QStringList pathData;    // the d of every SVG path
    QString contentSecurity; // the page's Content-Security-Policy
    int itemRows = 0;        // rows of the item table with data
    int examineeRows = 0;
    int cards = 0;
    QStringList text; // all character data
};

HtmlShape shapeOf(const QString& html)
{
    HtmlShape shape;
    QXmlStreamReader reader(html);
    QString table;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QString name = reader.name().toString();
            const QXmlStreamAttributes attributes = reader.attributes();
            shape.elements << name;
            for (const char* attribute : {"href", "src"})
                if (attributes.hasAttribute(QLatin1String(attribute)))
                    shape.references << attributes.value(QLatin1String(attribute)).toString();
            if (name == u"path")
                shape.pathData << attributes.value(QLatin1String("d")).toString();
            if (name == u"meta" &&
                attributes.value(QLatin1String("http-equiv")) == u"Content-Security-Policy")
                shape.contentSecurity = attributes.value(QLatin1String("content")).toString();
            if (name == u"table")
                table = attributes.value(QLatin1String("class")).toString();
            if (name == u"tr" && table == u"items" && !attributes.value(QLatin1String("id")).isEmpty())
                ++shape.itemRows;
            if (name == u"td" && table == u"examinees" && reader.attributes().isEmpty())
                ++shape.examineeRows; // the identifier cell, one per row
            if (name == u"figure")
                ++shape.cards;
        } else if (reader.isCharacters()) {
            shape.text << reader.text().toString();
        }
    }
    if (reader.hasError())
        shape.error = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
    return shape;
}

} // namespace

class TestDiagnosticReports : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString in(const QString& name) const { return folder.filePath(name); }

private slots:
    void init()
    {
        QDir(folder.path()).removeRecursively(); // every qlt run starts in an empty folder
        QDir().mkpath(folder.path());
        QDir::setCurrent(folder.path());
    }

    void csvHasOneRecordPerItem()
    {
        const TestDiagnostics test = diagnose(smallClass());
        const QString csv = composeCsv(test);
        QVERIFY(csv.startsWith(QChar(0xFEFF)));
        QVERIFY(csv.endsWith(QStringLiteral("\r\n")));
        QCOMPARE(csv.count(u'\n'), csv.count(QStringLiteral("\r\n")));
        const QStringList lines = csv.mid(1).chopped(2).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 1 + test.items);

        const QStringList header = csvFields(lines[0]);
        QCOMPARE(header.size(), 11 + 8 * 4);
        QCOMPARE(header.mid(0, 11), QStringList({"item", "key", "p", "d", "rpb_rest", "rpb_total", "rbis",
                                                 "kr20_if_deleted", "verdict", "verdict_th", "reason_th"}));
        QCOMPARE(header.mid(11, 8), QStringList({"opt1_p", "opt1_rpb", "opt1_index", "opt1_g1", "opt1_g2",
                                                 "opt1_g3", "opt1_g4", "opt1_g5"}));
        QCOMPARE(header.last(), QStringLiteral("opt4_g5"));

        const QStringList verdicts{"keep", "revise", "replace-distractor", "check-key", "small-sample"};
        for (int j = 1; j <= test.items; ++j) {
            const QStringList fields = csvFields(lines[j]);
            QCOMPARE(fields.size(), header.size());
            QVERIFY(lines[j].startsWith(QString::number(j) + u',')); // the item number, unquoted
            QVERIFY(verdicts.contains(fields[8]));
            QCOMPARE(fields[9], verdictThai(test.itemList[j - 1].judgement.verdict));
            for (const QString& field : fields)
                QVERIFY2(!field.contains(QLatin1String("nan")) && !field.contains(QLatin1String("inf")),
                         qPrintable(lines[j]));
        }
        // Item 1, answered right by everyone: its correlations are empty fields, its p a number.
        const QStringList allRight = csvFields(lines[1]);
        QCOMPARE(allRight[2], QStringLiteral("1.000"));
        QCOMPARE(allRight.mid(4, 3), QStringList({"", "", ""}));
        // Item 2's key is a quote mark, doubled inside a quoted field.
        QVERIFY(lines[2].startsWith(QStringLiteral("2,\"\"\"\",")));
        QCOMPARE(csvFields(lines[2])[1], QStringLiteral("\""));
    }

    void htmlIsSelfContained()
    {
        const TestData data = smallClass();
        const TestDiagnostics test = diagnose(data);
        const HtmlShape shape = shapeOf(composeHtmlReport(data, test, QStringLiteral("class <5>.txt")));
        QVERIFY2(shape.error.isEmpty(), qPrintable(shape.error));
        QCOMPARE(shape.contentSecurity, QStringLiteral("default-src 'none'; style-src 'unsafe-inline'"));
        for (const char* loader : {"script", "link", "img", "iframe", "object", "embed", "image", "use"})
            QVERIFY2(!shape.elements.contains(QLatin1String(loader)), loader);
        for (const QString& reference : shape.references)
            QVERIFY2(reference.startsWith(u'#'), qPrintable(reference));
    }

    void htmlShowsEveryItemAndExaminee()
    {
        const TestData data = smallClass();
        const TestDiagnostics test = diagnose(data);
        const HtmlShape shape = shapeOf(composeHtmlReport(data, test, QStringLiteral("class.txt")));
        QCOMPARE(shape.itemRows, test.items);
        QCOMPARE(shape.cards, test.items);
        QCOMPARE(shape.examineeRows, test.examinees);
        QCOMPARE(shape.elements.count(QStringLiteral("svg")), 2 + test.items); // histogram, scatter, traces
        // Escaped identifiers come back as they were typed.
        QVERIFY(shape.text.contains(QStringLiteral("A<1>")));
        QVERIFY(shape.text.contains(QStringLiteral("A&2")));
        // Undefined correlations show as a dash; every verdict in Thai with its English term.
        QVERIFY(shape.text.contains(QStringLiteral("—")));
        QVERIFY(shape.text.contains(verdictThai(test.itemList[0].judgement.verdict) + u' '));
        QVERIFY(shape.text.contains(u'(' + verdictEnglish(test.itemList[0].judgement.verdict) + u')'));
        // Every trace line moves to its first point and draws on from there.
        static const QRegularExpression path(QStringLiteral(R"(^M[\d.]+ [\d.]+( [ML][\d.]+ [\d.]+)*$)"));
        QCOMPARE(shape.pathData.size(), test.items * test.choices);
        for (const QString& d : shape.pathData)
            QVERIFY2(path.match(d).hasMatch(), qPrintable(d));
    }

    // Items 2 and 3 are answered right by the same examinees, so they share p and D: the scatter
    // plot shows both dots and names both in one label.
    void scatterShowsItemsThatShareAPlace()
    {
        TestData data =
            makeTestData(QStringLiteral("1211"), {"1211", "2211", "1122", "2121", "1214", "3333"});
        data.setChoices(4);
        const TestDiagnostics test = diagnose(data);
        QCOMPARE(test.itemList[1].difficulty, test.itemList[2].difficulty);
        QCOMPARE(test.itemList[1].discrimination, test.itemList[2].discrimination);
        const HtmlShape shape = shapeOf(composeHtmlReport(data, test, QStringLiteral("class.txt")));
        QVERIFY(shape.text.contains(QStringLiteral("2, 3")));
        for (int item : {2, 3})
            QVERIFY(std::any_of(shape.text.begin(), shape.text.end(), [item](const QString& text) {
                return text.startsWith(QStringLiteral("ข้อ %1: p = ").arg(item));
            }));
    }

    // One wrong answer among 40: its examinee's percentile rank is exactly 1.25, which the report
    // rounds half away from zero, as it rounds everything.
    void percentileRanksRoundAsTheRestOfTheReport()
    {
        QStringList answers(39, QStringLiteral("1"));
        answers.prepend(QStringLiteral("2"));
        TestData data = makeTestData(QStringLiteral("1"), answers);
        data.setChoices(4);
        const TestDiagnostics test = diagnose(data);
        QCOMPARE(test.percentileRankOf(0), 1.25);
        const HtmlShape shape = shapeOf(composeHtmlReport(data, test, QStringLiteral("class.txt")));
        QVERIFY(shape.text.contains(QStringLiteral("1.3")));
        QVERIFY(shape.text.contains(QStringLiteral("51.3"))); // the others: (1 + 39/2)/40
    }

    // The tables' headers repeat on every printed page, and wide tables scroll in a box of their
    // own on a phone instead of widening the page.
    void tablesHaveHeadersAndScrollBoxes()
    {
        const TestData data = smallClass();
        const QString html = composeHtmlReport(data, diagnose(data), QStringLiteral("class.txt"));
        for (const char* table : {"summary", "items", "examinees"})
            QVERIFY2(html.contains(QStringLiteral("<div class=\"scroll\"><table class=\"%1\">").arg(table)),
                     table);
        QVERIFY(html.contains(QStringLiteral("<table class=\"items\">\n<thead><tr><th>")));
        QVERIFY(html.contains(QStringLiteral("<table class=\"examinees\">\n<thead><tr><th>")));
    }

    void qltWritesTheRequestedFiles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<int>("optionColumns");
        const QString sample = examplePath(QStringLiteral("class-4choices.txt"));
        QTest::newRow("the visual report alone replaces Result.doc")
            << QStringList{"--html", "r.html", sample} << QStringList{"r.html"} << 0;
        QTest::newRow("both reports, the choice count taken from the key")
            << QStringList{"--html", "r.html", "--csv", "r.csv", sample} << QStringList{"r.csv", "r.html"}
            << 4;
        QTest::newRow("a five-choice key gives five options")
            << QStringList{"--csv", "r.csv", examplePath(QStringLiteral("class-5choices.txt"))}
            << QStringList{"r.csv"} << 5;
        QTest::newRow("--choices decides over the key")
            << QStringList{"--csv", "r.csv", "-c", "5", sample} << QStringList{"r.csv"} << 5;
        QTest::newRow("-o asks for the plain report too")
            << QStringList{"--csv", "r.csv", "-o", "Result.doc", sample} << QStringList{"r.csv", "Result.doc"}
            << 4;
    }

    void qltWritesTheRequestedFiles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, written);
        QFETCH(int, optionColumns);
        const QltRun run = runQltInProcess(arguments);
        QCOMPARE(run.status, int(QltSuccess));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), written);
        if (optionColumns > 0) {
            const QString csv = QString::fromUtf8(readBytes(in(QStringLiteral("r.csv"))));
            const QString header = csv.section(QStringLiteral("\r\n"), 0, 0);
            QVERIFY(header.endsWith(QStringLiteral(",opt%1_g5").arg(optionColumns)));
        }
        if (written.contains(QStringLiteral("r.html")))
            QVERIFY(shapeOf(QString::fromUtf8(readBytes(in(QStringLiteral("r.html"))))).error.isEmpty());
    }

    void qltReadsTheChoiceCountFromTheAnswers_data()
    {
        QTest::addColumn<int>("fives"); // of 40 examinees, those answering "5" to item 2 of 3
        QTest::addColumn<int>("optionColumns");
        QTest::addColumn<QString>("warning");
        QTest::newRow("a fifth choice the key never names but many answer is kept") << 15 << 5 << "";
        QTest::newRow("a single 5 is beyond four choices and is warned about")
            << 1 << 4 << "แฟ้มข้อมูล fives.txt: มีคำตอบ 1 คำตอบที่ใช้รหัส 5 ซึ่งเกินจำนวนตัวเลือก 4 ตัว";
    }

    void qltReadsTheChoiceCountFromTheAnswers()
    {
        QFETCH(int, fives);
        QFETCH(int, optionColumns);
        QFETCH(QString, warning);
        QList<QByteArray> records{"KEY 123"};
        for (int i = 0; i < 40; ++i)
            records << QByteArray::number(100 + i) + ' ' + char('1' + i % 4) +
                           (i < fives ? '5' : char('1' + i % 3)) + char('1' + i % 2);
        writeBytes(in(QStringLiteral("fives.txt")), lines(records));
        const QltRun run =
            runQltInProcess({"--csv", "r.csv", "--html", "r.html", in(QStringLiteral("fives.txt"))});
        QCOMPARE(run.status, int(QltSuccess));
        QVERIFY2(warning.isEmpty() ? run.err.isEmpty() : run.err.contains(warning), qPrintable(run.err));
        const QString csv = QString::fromUtf8(readBytes(in(QStringLiteral("r.csv"))));
        QVERIFY(csv.section(QStringLiteral("\r\n"), 0, 0)
                    .endsWith(QStringLiteral(",opt%1_g5").arg(optionColumns)));
        const QString html = QString::fromUtf8(readBytes(in(QStringLiteral("r.html"))));
        QCOMPARE(html.contains(QStringLiteral("ซึ่งเกินจำนวนตัวเลือก")), !warning.isEmpty());
    }

    void qltReportsAFileItCannotWrite()
    {
        const QString path = in(QStringLiteral("missing/r.html"));
        const QltRun run =
            runQltInProcess({"--html", path, examplePath(QStringLiteral("class-4choices.txt"))});
        QCOMPARE(run.status, int(QltFailure));
        QVERIFY2(run.err.contains(path), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(TestDiagnosticReports)
#include "tst_diagnosticreports.moc"
