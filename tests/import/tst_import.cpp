// The import as a teacher meets it: every sample export gives the same analysis as its hand-written
// data file, each layout is recognised, the conventions turn the same class into the same data file
// whichever tool exported it, and every kind of bad input is refused with a Thai message while
// nothing is written.
#include "Checks.h"
#include "MessageRecorder.h"
#include "QltInProcess.h"
#include "TestFiles.h"
#include "Workbooks.h"
#include "analysis/AnalysisRun.h"
#include "analysis/Selection.h"
#include "import/Importer.h"
#include "import/OdsReader.h"
#include "model/CodePage874.h"
#include "model/DataFileLoader.h"
#include "report/ReportSelection.h"
#include "report/ResultReport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ImportLayout)

namespace {
QString sample(const QString& name)
{
    return examplePath(QStringLiteral("import/") + name);
}

// A CSV class of `students` rows and `items` columns, every answer 1, with a key row.
QByteArray csvClass(int students, int items)
{
    QByteArray header = "id", answers;
    for (int item = 1; item <= items; ++item) {
        header += "," + QByteArray::number(item);
        answers += ",1";
    }
    QByteArray csv = header + "\r\nKEY" + answers + "\r\n";
    for (int student = 1; student <= students; ++student)
        csv += QByteArray::number(student) + answers + "\r\n";
    return csv;
}

// Rows of a CSV file, each ended by `end`.
QByteArray rowsEndedBy(const QByteArrayList& rows, const QByteArray& end = "\r\n")
{
    return rows.join(end) + end;
}

ImportResult importCsv(const QByteArray& csv, const ImportOverrides& overrides = {})
{
    return importSpreadsheetBytes(csv, QStringLiteral("class.csv"), overrides);
}
} // namespace

class ImportTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString in(const QString& name) const { return folder.filePath(name); }

private slots:
    void init()
    {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }

    void samplesAnalyseAsTheirDataFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<ImportLayout>("layout");
        QTest::newRow("an online form's export with Thai option texts")
            << "online-form.csv" << ImportLayout::OnlineForm;
        QTest::newRow("Excel's CSV in code page 874 with Thai choice letters")
            << "excel-thai.csv" << ImportLayout::RowPerStudent;
        QTest::newRow("an XLSX workbook with shared strings and numbers")
            << "workbook.xlsx" << ImportLayout::RowPerStudent;
        QTest::newRow("a scanner's CSV with letter codes and semicolons")
            << "scanner.csv" << ImportLayout::Scanner;
        QTest::newRow("the same workbook saved by a spreadsheet program as ODS")
            << "workbook.ods" << ImportLayout::RowPerStudent;
    }
    // The import's report is the hand-written twin's, analysed with the names the import read: a data
    // file holds no names, and an import carries them into the report as typed names are.
    void samplesAnalyseAsTheirDataFiles()
    {
        QFETCH(QString, file);
        QFETCH(ImportLayout, layout);
        const QString twin = sample(QFileInfo(file).completeBaseName() + QStringLiteral(".txt"));
        const ImportResult import = importSpreadsheet(sample(file));
        QCOMPARE(import.layout, layout);

        const QltRun imported =
            runQltInProcess({QStringLiteral("-o"), in(QStringLiteral("imported.doc")),
                             QStringLiteral("--write-data"), in(QStringLiteral("data.txt")), sample(file)});
        QVERIFY2(imported.status == 0, qPrintable(imported.err));
        QVERIFY2(imported.err.contains(layoutName(layout)), qPrintable(imported.err));
        QCOMPARE(readBytes(in(QStringLiteral("data.txt"))), readBytes(twin));

        TestData typed;
        QString error;
        QVERIFY2(loadDataFile(twin, typed, error), qPrintable(error));
        typed.setNames(import.names);
        AnalysisSelection boxes = defaultSelection();
        AnalysisResults results;
        MessageRecorder messages;
        QVERIFY(runAnalysis(typed, boxes, results, messages).finished);
        const QString expected = composeReport(typed, results, reportSelection(boxes));
        const QString difference =
            firstDifference(expected, decodeCp874(readBytes(in(QStringLiteral("imported.doc")))));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(readBytes(in(QStringLiteral("imported.doc"))), encodeCp874(expected));
    }

    void detection_data()
    {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<ImportLayout>("layout");
        QTest::addColumn<QList<int>>("answers");
        QTest::newRow(
            "a timestamp marks an online form; score and e-mail are no answers; the name identifies")
            << "ประทับเวลา,ที่อยู่อีเมล,คะแนน,ชื่อ,ข้อ 1\nx,y,z,เฉลย,ก\nx,y,z,มานี,ข\n"
            << ImportLayout::OnlineForm << QList<int>{4};
        QTest::newRow("a quiz form's points and feedback per question are no answers either")
            << "Start time,Completion time,Email,Name,Capital?,Points - Capital?,Feedback - Capital?\n"
               "a,b,c,KEY,Bangkok,1,\na,b,c,Mana,Bangkok,1,\n"
            << ImportLayout::OnlineForm << QList<int>{4};
        QTest::newRow("questions headed Q1, Q2 mark a scanner's export")
            << "id,Q1,Q2\nKEY,A,B\n1,A,A\n"
            << ImportLayout::Scanner << QList<int>{1, 2};
        QTest::newRow("a key column marks a scanner's export too")
            << "id,key,1,2\n1,AB,A,B\n"
            << ImportLayout::Scanner << QList<int>{2, 3};
        QTest::newRow("one column of choice letters holds all answers")
            << "id,answers\nKEY,ABCD\n1,ABCA\n"
            << ImportLayout::AnswersInOneCell << QList<int>{1};
        QTest::newRow("one column of option texts is one item")
            << "id,สีอะไร\nKEY,แดง\n1,ฟ้า\n"
            << ImportLayout::RowPerStudent << QList<int>{1};
        QTest::newRow("an unnamed first column is the identifier")
            << ",1,2\nKEY,A,B\n1,A,A\n"
            << ImportLayout::RowPerStudent << QList<int>{1, 2};
    }
    void detection()
    {
        QFETCH(QString, csv);
        QFETCH(ImportLayout, layout);
        QFETCH(QList<int>, answers);
        const ImportResult result = importCsv(csv.toUtf8());
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.layout, layout);
        QCOMPARE(result.columns.answers, answers);
    }

    void conventions_data()
    {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("dataFile");
        QTest::newRow("identifiers keep leading zeros and Thai digits, padded to the longest")
            << "เลขที่,1,2\nเฉลย,A,B\n007,A,B\n๑๒,B,A\n"
            << "KEY 12\n007 12\n๑๒  21\n";
        QTest::newRow("the key label is cut to a one-character identifier") << "id,1,2\nKEY,A,B\n1,A,B\n"
                                                                            << "K 12\n1 12\n";
        QTest::newRow("the key row is found by a name of answer key, in any case")
            << "id,name,q1,q2\n1,Anong,B,C\n0,Answer Key,B,D\n2,Boon,A,D\n"
            << "K 24\n1 23\n2 14\n";
        QTest::newRow("all answers in one cell are read a character each; a blank stays a blank")
            << "id,answers\nKEY,1234\n1,12 4\n2,AB\n3,1x3๔\n"
            << "K 1234\n1 12 4\n2 12  \n3 1?34\n";
        QTest::newRow("option texts: the key's text is 1, the others in order of first appearance")
            << "id,ถาม\nเฉลย,แมว\n1,หมา\n2,แมว\n3,นก\n4,หมา\n5,\n"
            << "K 1\n1 2\n2 1\n3 3\n4 2\n5  \n";
        QTest::newRow("blanks, several marks and unreadable marks are written as the data file counts them")
            << "id,1,2,3\nKEY,A,B,C\n1,,AC,Z\n"
            << "K 123\n1  *?\n";
        QTest::newRow("a key column holding the whole key") << "id,key,1,2,3\n1,CAB,C,A,A\n2,,B,A,B\n"
                                                            << "K 312\n1 311\n2 212\n";
        QTest::newRow("a key column per question") << "id,Q1,Q1 Key,Q2,Q2 Key\n1,A,B,C,C\n2,B,,D,\n"
                                                   << "K 23\n1 13\n2 24\n";
        QTest::newRow("a header with a number beyond any item is an answer, not a key column")
            << "id,Key 1234512345,Q2\nKEY,A,B\n1,A,A\n"
            << "K 12\n1 11\n";
        QTest::newRow("an empty row is skipped") << "id,1\nKEY,A\n1,A\n,\n2,B\n"
                                                 << "K 1\n1 1\n2 2\n";
    }
    void conventions()
    {
        QFETCH(QString, csv);
        QFETCH(QString, dataFile);
        const ImportResult result = importCsv(csv.toUtf8());
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(decodeCp874(result.dataFile),
                 dataFile.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    }

    void theSummaryCountsAndMaps()
    {
        const ImportResult result = importCsv("id,name,1,2\nเฉลย,,แมว,B\n1,a,หมา,AB\n2,b,,C\n3,c,แมว,\n");
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.summary.perItem[0].blank, 1);
        QCOMPARE(result.summary.perItem[1].several, 1);
        QCOMPARE(result.summary.perItem[1].blank, 1);
        QCOMPARE(result.summary.perStudent[0].several, 1);
        QCOMPARE(result.summary.studentRows, (QList<int>{3, 4, 5}));
        QCOMPARE(result.summary.mappings.size(), 1);
        QCOMPARE(result.summary.mappings[0].texts, (QStringList{"แมว", "หมา"}));
        const QString text = importSummaryText(result);
        QVERIFY2(text.contains(QStringLiteral("แถว 3 (1): ตอบหลายตัวเลือก 1")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("ข้อ 1: 1 = แมว; 2 = หมา")), qPrintable(text));
    }

    void aRefusalKeepsWhatWasReadForTheTeacherToCorrect()
    {
        const ImportResult result = importCsv("id,name,1,2\n1,a,A,B\n2,b,B,B\n");
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("ไม่พบเฉลย")), qPrintable(result.error));
        QCOMPARE(result.preview.size(), 3);
        QCOMPARE(result.preview[1], (QStringList{"1", "a", "A", "B"}));
        QCOMPARE(result.columns.answers, (QList<int>{2, 3}));
        QVERIFY(result.dataFile.isEmpty() && result.ids.isEmpty());
        ImportOverrides overrides; // the teacher points at the key row
        overrides.keyRow = 3;
        QCOMPARE(importCsv("id,name,1,2\n1,a,A,B\n2,b,B,B\n", overrides).dataFile,
                 QByteArray("K 22\r\n1 12\r\n"));
    }

    void theSummaryListsAPageOfStudentsAndCountsTheRest()
    {
        QByteArray csv = "id,1\nKEY,A\n";
        for (int student = 1; student <= 45; ++student)
            csv += QByteArray::number(student) + ",\n";
        const QString text = importSummaryText(importCsv(csv));
        QCOMPARE(text.count(QStringLiteral(": ไม่ตอบ 1")), 40);
        QVERIFY2(text.contains(QStringLiteral("ไม่ตอบ 45")) && text.contains(QStringLiteral("และผู้สอบอีก 5 คน")),
                 qPrintable(text));
    }

    void namesJoinFirstAndLastWithLineBreaksAsBlanks()
    {
        const ImportResult result =
            importCsv("เลขที่,ชื่อ,นามสกุล,1\nเฉลย,,,ก\n1,\" สมชาย\r\nน้อย \",ใจดี,ก\n2,มานี,,ข\n");
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.names, (QStringList{"สมชาย น้อย ใจดี", "มานี"}));
        QCOMPARE(result.columns.names, (QList<int>{1, 2}));
    }

    void overrides_data()
    {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("dataFile");
        QTest::newRow("--key types the key; no key row is needed")
            << "id,1,2\n1,A,B\n2,B,B\n"
            << QStringList{"--key", "12"} << "K 12\n1 12\n2 22\n";
        QTest::newRow("--key-row counts rows as the spreadsheet does")
            << "id,1,2\n1,A,B\n2,B,B\n"
            << QStringList{"--key-row", "3"} << "K 22\n1 12\n";
        QTest::newRow("--id-column, --answer-columns as a range")
            << "ชื่อเล่น,x,รหัส,a,b\nเฉลย,,9,A,B\nต้น,,1,B,B\n"
            << QStringList{"--id-column", "C", "--answer-columns", "D-E", "--key-row", "2"} << "K 12\n1 22\n";
        QTest::newRow("--answer-columns as a list picks and orders the items")
            << "id,a,b,c\nKEY,A,B,C\n1,A,B,C\n"
            << QStringList{"--answer-columns", "D,B"} << "K 31\n1 31\n";
    }
    void overrides()
    {
        QFETCH(QString, csv);
        QFETCH(QStringList, arguments);
        QFETCH(QString, dataFile);
        writeBytes(in(QStringLiteral("class.csv")), csv.toUtf8());
        const QltRun run = runQltInProcess(arguments + QStringList{"-o", in("Result.doc"), "--write-data",
                                                                   in("class.txt"), in("class.csv")});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(decodeCp874(readBytes(in(QStringLiteral("class.txt")))),
                 dataFile.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    }

    void aNamedSheet()
    {
        const QltRun run = runQltInProcess({"--sheet", "ม.3-2", "-o", in("Result.doc"), "--write-data",
                                            in("room2.txt"), sample(QStringLiteral("workbook.xlsx"))});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(readBytes(in(QStringLiteral("room2.txt"))),
                 QByteArray("KEY-- 21343\r\n24201 21343\r\n24202 21143\r\n24203 31342\r\n"));
    }

    void badInputIsRefusedAndNothingWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        const QByteArray good = "id,1\nKEY,A\n1,A\n";
        QTest::newRow("a file that is not there") << "gone.csv" << QByteArray() << QStringList() << "ไม่พบแฟ้ม";
        QTest::newRow("a folder named like a CSV file")
            << "folder.csv" << QByteArray() << QStringList() << "โฟลเดอร์";
        QTest::newRow("an empty file") << "empty.csv" << QByteArray("") << QStringList() << "ว่างเปล่า";
        QTest::newRow("a file of empty lines")
            << "blank.csv" << QByteArray("\r\n,,\r\n") << QStringList() << "ว่างเปล่า";
        QTest::newRow("a password-protected workbook")
            << "locked.xlsx" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0')
            << QStringList() << "รหัสผ่าน";
        QTest::newRow("text named .xlsx") << "fake.xlsx" << good << QStringList() << "ไม่ใช่แฟ้ม Excel";
        QTest::newRow("a damaged workbook")
            << "damaged.xlsx" << workbook("<row r=\"1\"/>").replace("sheetData", "sheetDatA") << QStringList()
            << "เสียหาย";
        const QByteArray odsRow =
            "<table:table-row><table:table-cell><text:p>1</text:p></table:table-cell></table:table-row>";
        QTest::newRow("a password-protected ODS")
            << "locked.ods" << odsSpreadsheet(odsRow, true) << QStringList() << "รหัสผ่าน";
        QTest::newRow("a damaged ODS")
            << "damaged.ods" << odsSpreadsheet(odsRow + "<table:table-row>") << QStringList() << "เสียหาย";
        QTest::newRow("an ODS whose repeated rows would fill the memory")
            << "bomb.ods"
            << odsSpreadsheet(QByteArray(odsRow)
                                  .replace("<table:table-row>",
                                           "<table:table-row table:number-rows-repeated=\"1000000\">")
                                  .replace("<table:table-cell>",
                                           "<table:table-cell table:number-columns-repeated=\"16000\">"))
            << QStringList() << "ใหญ่เกิน";
        QTest::newRow("a header with a key column and nothing under it")
            << "header.csv" << QByteArray("id,key,1\n") << QStringList() << "ไม่มีผู้สอบเลย";
        QTest::newRow("no key row, no key column, no --key")
            << "nokey.csv" << QByteArray("id,1\n1,A\n2,B\n") << QStringList() << "ไม่พบเฉลย";
        QTest::newRow("a key row with an empty cell") << "gap.csv" << QByteArray("id,1,2\nKEY,A,\n1,A,B\n")
                                                      << QStringList() << "ข้อ 2 ไม่มีเฉลย (แถว 2 คอลัมน์ C";
        QTest::newRow("a row shorter than the header")
            << "ragged.csv" << QByteArray("id,1,2\nKEY,A,B\n1,A\n") << QStringList() << "แถว 3 มี 2 ช่อง";
        QTest::newRow("a row longer than the header")
            << "long.csv" << QByteArray("id,1\nKEY,A\n1,A,B\n") << QStringList() << "แถว 3 มีข้อมูลเกิน";
        QTest::newRow("an identifier the data file cannot hold")
            << "id.csv" << QStringLiteral("id,1\nKEY,A\n李,A\n").toUtf8() << QStringList()
            << "รหัสผู้สอบ \"李\" (แถว 3 คอลัมน์ A)";
        QTest::newRow("more students than a data file holds")
            << "crowd.csv" << csvClass(MaxCount, 1) << QStringList() << "เกิน 32765 คน";
        QTest::newRow("more items than the program takes")
            << "wide.csv" << csvClass(1, MaxCount + 1) << QStringList() << "เกินกว่า 32766 ข้อ";
        QTest::newRow("a typed key of another length than the answers")
            << "short.csv" << good << QStringList{"--key", "12"} << "เฉลยที่ระบุมี 2 ข้อ";
        QTest::newRow("a key row past the last row")
            << "far.csv" << good << QStringList{"--key-row", "9"} << "ไม่มีแถว 9";
        QTest::newRow("an answer column past the header")
            << "cols.csv" << good << QStringList{"--answer-columns", "C"} << "ไม่มีคอลัมน์ C";
    }
    void badInputIsRefusedAndNothingWritten()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        if (name.startsWith(QStringLiteral("folder")))
            QDir().mkpath(in(name));
        else if (!bytes.isNull())
            writeBytes(in(name), bytes);
        writeBytes(in(QStringLiteral("Result.doc")), "earlier\r\n");
        const QltRun run = runQltInProcess(
            arguments + QStringList{"-o", in("Result.doc"), "--write-data", in("class.txt"), in(name)});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(says), qPrintable(run.err));
        QVERIFY2(run.err.contains(name), qPrintable(run.err));
        QCOMPARE(readBytes(in(QStringLiteral("Result.doc"))), QByteArray("earlier\r\n"));
        QVERIFY(!QFile::exists(in(QStringLiteral("class.txt"))));
    }

    void usageMistakesWriteNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::newRow("import flags with a data file")
            << QStringList{"--key", "1234", examplePath("class-4choices.txt")} << "ไม่ใช่แฟ้ม .csv";
        QTest::newRow("a column that is no column")
            << QStringList{"--answer-columns", "D-", sample("scanner.csv")} << "ไม่ใช่คอลัมน์";
        QTest::newRow("--write-data onto the report")
            << QStringList{"-o", "same.txt", "--write-data", "same.txt", sample("scanner.csv")}
            << "เป็นแฟ้มเดียวกัน";
        QTest::newRow("--write-data onto the spreadsheet itself")
            << QStringList{"--write-data", sample("scanner.csv"), sample("scanner.csv")} << "เป็นแฟ้มเดียวกัน";
        QTest::newRow("both --key and --key-row")
            << QStringList{"--key", "12", "--key-row", "2", sample("scanner.csv")} << "ทางเดียว";
    }
    void usageMistakesWriteNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        QDir::setCurrent(folder.path());
        const QltRun run = runQltInProcess(arguments);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(says), qPrintable(run.err));
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    void aSpreadsheetIsRecognisedByItsContentWhateverItsName()
    {
        const QString renamed = in(QStringLiteral("class.dat"));
        QVERIFY(QFile::copy(sample(QStringLiteral("workbook.xlsx")), renamed));
        const QltRun run =
            runQltInProcess({"-o", in("Result.doc"), "--write-data", in("class.txt"), renamed});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(readBytes(in(QStringLiteral("class.txt"))),
                 readBytes(sample(QStringLiteral("workbook.txt"))));
    }

    // Cells read as a spreadsheet program shows them: numbers by value, texts with their blanks and
    // lines, comments left out, repeated rows and cells written out but for the empty ones at the ends.
    void odsCellsReadAsTheSheetShowsThem_data()
    {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QStringList>("expected"); // a row's cells joined by "|"
        const auto cell = [](const char* text) {
            return "<table:table-cell><text:p>" + QByteArray(text) + "</text:p></table:table-cell>";
        };
        const auto row = [](const QByteArray& cells, const char* attributes = "") {
            return "<table:table-row" + QByteArray(attributes) + ">" + cells + "</table:table-row>";
        };
        QTest::newRow("a text, and numbers by their value, not their format")
            << row(cell("ก") +
                   "<table:table-cell office:value-type=\"float\" office:value=\"24105\"><text:p>24,105.00</text:p>"
                   "</table:table-cell><table:table-cell office:value-type=\"percentage\" office:value=\"0.5\">"
                   "<text:p>50%</text:p></table:table-cell>")
            << QStringList{"ก|24105|0.5"};
        QTest::newRow("blanks, a tab, a line break and a span; two paragraphs on two lines")
            << row("<table:table-cell><text:p>a<text:s text:c=\"3\"/>b<text:tab/>c</text:p>"
                   "<text:p><text:span>d</text:span><text:line-break/>e</text:p></table:table-cell>")
            << QStringList{"a   b\tc\nd\ne"};
        QTest::newRow("a comment is no text")
            << row("<table:table-cell><office:annotation><text:p>check</text:p></office:annotation>"
                   "<text:p>2</text:p></table:table-cell>")
            << QStringList{"2"};
        QTest::newRow("repeated cells; the empty ones at the row's end dropped")
            << row("<table:table-cell table:number-columns-repeated=\"2\"/>"
                   "<table:table-cell table:number-columns-repeated=\"3\"><text:p>1</text:p></table:table-cell>"
                   "<table:covered-table-cell/><table:table-cell table:number-columns-repeated=\"16000\"/>")
            << QStringList{"||1|1|1"};
        QTest::newRow("repeated rows; the empty ones at the sheet's end dropped")
            << row(cell("x")) + row("<table:table-cell/>", " table:number-rows-repeated=\"2\"") +
                   row(cell("y"), " table:number-rows-repeated=\"2\"") +
                   row("<table:table-cell table:number-columns-repeated=\"1024\"/>",
                       " table:number-rows-repeated=\"1048000\"")
            << QStringList{"x", "", "", "y", "y"};
        QTest::newRow("rows inside header rows and groups")
            << "<table:table-header-rows>" + row(cell("h")) +
                   "</table:table-header-rows><table:table-row-group>" + row(cell("g")) +
                   "</table:table-row-group>"
            << QStringList{"h", "g"};
    }
    void odsCellsReadAsTheSheetShowsThem()
    {
        QFETCH(QByteArray, rows);
        QFETCH(QStringList, expected);
        Table table;
        QString error;
        QVERIFY2(readOds(odsSpreadsheet(rows), QStringLiteral("cells.ods"), QString(), table, error),
                 qPrintable(error));
        QStringList read;
        for (qsizetype row = 0; row < table.rowCount(); ++row) {
            QStringList cells;
            for (qsizetype column = 0; column < table.columnCount(row); ++column)
                cells << table.cell(row, column).toString();
            read << cells.join(u'|');
        }
        QCOMPARE(read, expected);
    }

    void quickCsvImportEqualsTheWholeTable_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("typedKey");
        QTest::addColumn<bool>("quick"); // whether the quick way can take the file with some head
        const QByteArrayList plain{"id,Q1,Q2,Q3", "KEY,A,B,C", "1,A,B,C", "2,B,b,5", "3,c,,E", "4,A,B,D"};
        QTest::newRow("letters, digits and blanks, CR LF") << rowsEndedBy(plain) << "" << true;
        QTest::newRow("LF") << rowsEndedBy(plain, "\n") << "" << true;
        QTest::newRow("a room and a form column, read with the whole table")
            << rowsEndedBy({"id,Room,Form,Q1,Q2", "KEY,,,A,B", "1,1/1,A,A,B", "2,1/2,B,B,b"}) << "" << false;
        QTest::newRow("CR") << rowsEndedBy(plain, "\r") << "" << true;
        QTest::newRow("the last row without a line break") << plain.join("\r\n") << "" << true;
        QTest::newRow("a separator at the very end") << plain.join("\n") + ","
                                                     << "" << true;
        QTest::newRow("a UTF-8 byte-order mark") << "\xEF\xBB\xBF" + rowsEndedBy(plain) << "" << true;
        QTest::newRow("semicolons") << rowsEndedBy(plain).replace(',', ';') << "" << true;
        QTest::newRow("tabs") << rowsEndedBy(plain).replace(',', '\t') << "" << true;
        QTest::newRow("quoted cells, a separator and a doubled quote in them")
            << rowsEndedBy({"\"id\",\"name\",\"Q1\",\"Q2\"", "\"KEY\",,\"A\",\"B\"",
                            "\"1\",\"Lee, Ann\",\"A\",\"A,B\"", "2,\"Ann \"\"Joy\"\"\",\"\"B,C",
                            "3,\"Sue\",\"A\"x,\" \""})
            << "" << true;
        QTest::newRow("every cell quoted")
            << rowsEndedBy({"\"id\",\"Q1\",\"Q2\",\"Q3\"", "\"KEY\",\"A\",\"B\",\"C\"",
                            "\"1\",\"A\",\"\"\"\",\"C\"", "\"2\",\"b\",\" \",\"AB\"",
                            "\"3\",\"\",\"C\",\"D\"", "\"4\",\"E\",\"D\",\"C\""})
            << "" << true;
        QTest::newRow("a line break inside a quoted name")
            << rowsEndedBy(
                   {"id,name,Q1,Q2", "KEY,,A,B", "1,\"Ann\r\nLee\",A,B", "2,\"Sue\nMay\",B,A", "3,Tom,A,A"})
            << "" << true;
        QTest::newRow("several marks, unreadable marks and blanks of every kind")
            << rowsEndedBy(
                   {"id,1,2,3,4", "KEY,A,B,C,D", "1,AB,\"A, C\",X, ", "2, A ,a) x,F,\t", "3,AAAA,?,*,1"})
            << "" << true;
        QTest::newRow("blank rows between the examinees")
            << rowsEndedBy({"id,Q1,Q2", "KEY,A,B", "1,A,B", "", ",,", " , ,\" \"", "2,B,A", "", "3,A,A"})
            << "" << true;
        QTest::newRow("the key row in the middle")
            << rowsEndedBy({"id,Q1,Q2", "1,A,B", "2,B,A", "KEY,A,B", "3,A,A", "4,B,B", "5,C,C"}) << ""
            << true;
        QTest::newRow("a second KEY row is an examinee")
            << rowsEndedBy({"id,Q1,Q2", "KEY,A,B", "1,B,A", "2,A,A", "KEY,B,B", "3,C,C"}) << "" << true;
        QTest::newRow("a scanner's key columns, no key row")
            << rowsEndedBy({"id,Q1,Q2,Key 1,Key 2", "1,A,B,A,B", "2,B,A,,", "3,C,C,,", "4,D,D,,"}) << ""
            << true;
        QTest::newRow("a scanner's key column filled below the head")
            << rowsEndedBy({"id,Q1,Q2,key", "1,A,B,", "2,B,A,", "3,C,C,", "4,D,D,", "5,A,A,AB", "6,E,E,"})
            << "" << false;
        QTest::newRow("an online form's option texts")
            << rowsEndedBy({"Timestamp,Name,Colour,Size", "t,KEY,red,big", "t,Ann,blue,big",
                            "t,Bo,red,\"small\"", "t,Cy,green,big", "t,Di,,tiny"})
            << "" << true;
        QTest::newRow("a typed key") << rowsEndedBy(plain) << "123" << true;
        QTest::newRow("data past the header's last column is refused")
            << rowsEndedBy({"id,Q1,Q2", "KEY,A,B", "1,A,B", "2,A,B,", "3,A,B,C"}) << "" << false;
        QTest::newRow("a row shorter than the header is refused")
            << rowsEndedBy({"id,Q1,Q2", "KEY,A,B", "1,A,B", "2,A,B", "3,A"}) << "" << false;
        QTest::newRow("an identifier with a comma is refused")
            << rowsEndedBy({"id,Q1,Q2", "KEY,A,B", "1,A,B", "2,A,B", "\"3,4\",A,B"}) << "" << false;
        QTest::newRow("a quote left open is refused")
            << rowsEndedBy({"id,Q1,Q2", "KEY,A,B", "1,A,B", "2,A,B", "3,\"A,B"}) << "" << false;
        QTest::newRow("Thai names in UTF-8")
            << rowsEndedBy({"id,name,Q1,Q2", "KEY,,ก,ข", "1,Ann,A,B", "2,มานี,ข,ก", "3,ชูใจ,C,๓"}) << ""
            << true;
        QTest::newRow("Thai names in code page 874")
            << encodeCp874(QString::fromUtf8(
                   rowsEndedBy({"id,name,Q1,Q2", "KEY,,ก,ข", "1,Ann,A,B", "2,มานี,ข,ก", "3,ชูใจ,C,๓"})))
            << "" << false;
        QTest::newRow("UTF-8 with a byte that is not, far down")
            << rowsEndedBy({"id,name,Q1,Q2", "KEY,,A,B", "1,มานี,A,B", "2,Ann,B,A", "3,Sue\xE0,C,D"}) << ""
            << false;
        QTest::newRow("all answers in one cell")
            << rowsEndedBy({"id,answers", "KEY,ABCD", "1,ABCA", "2,AB D", "3,DCBA"}) << "" << false;
        QTest::newRow("one examinee more than a data file holds") << csvClass(MaxCount, 2) << "" << false;
    }
    // Whichever way a CSV file is imported, the result is the same in every field; the quick way
    // is tried with heads of several sizes, so that each row is read both ways.
    void quickCsvImportEqualsTheWholeTable()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, typedKey);
        QFETCH(bool, quick);
        ImportOverrides overrides;
        overrides.key = typedKey;
        int quickRuns = 0;
        const QString difference = csvImportDifference(csv, overrides, {1, 2, 3, 4, 5}, &quickRuns);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(quickRuns > 0, quick);
    }

    void aWorkbookOfTheLargestClassLoads()
    {
        // 32766 rows as the spreadsheet shows them: the header and 32765 students, the most a data
        // file holds, with 20 items each and the key typed.
        QByteArray rows =
            numberRow(1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
        const QList<qint64> answers{1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4};
        for (int student = 1; student <= MaxCount - 1; ++student)
            rows += numberRow(student + 1, QList<qint64>{100000 + student} + answers);
        ImportOverrides overrides;
        overrides.key = QStringLiteral("12341234123412341234");
        const ImportResult result =
            importSpreadsheetBytes(workbook(rows), QStringLiteral("big.xlsx"), overrides);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.summary.students, MaxCount - 1);
        TestData data;
        QString error;
        QVERIFY2(loadDataBytes(result.dataFile, data, error), qPrintable(error));
        QCOMPARE(data.NumStud, MaxCount - 1);
        QCOMPARE(data.NumItems, 20);
        QCOMPARE(data.StudID[MaxCount - 1], QStringLiteral("132765"));
    }
};

QTEST_GUILESS_MAIN(ImportTest)
#include "tst_import.moc"
