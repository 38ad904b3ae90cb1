// bench_import — times the import of a spreadsheet beside the load of the same class as a data file.
//   bench_import [STUDENTS ITEMS]   default 32765 x 200: the class as a data file (.txt), as a CSV file
//                                   with letter codes, and as an XLSX workbook (shared strings for the
//                                   letters, numbers for the identifiers, deflated as Excel saves it);
//                                   the median of several runs of each, and the ratio to the .txt load.
// The import's time includes loading the data file it makes, as the window and qlt do. The floor of the
// XLSX import is unpacking the sheet alone (inflate and check sum, as the import does it, a piece at a
// time): no reader of the workbook can take less.

#include "Benchmark.h"
#include "DataGenerator.h"
#include "Workbooks.h"
#include "import/Importer.h"
#include "import/ZipArchive.h"
#include "model/DataFileLoader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int runs = 5;

struct GeneratedClass {
    QByteArray key;
    std::vector<QByteArray> ids, answers;
};

GeneratedClass parse(const QByteArray& dataFile)
{
    GeneratedClass parsed;
    const QList<QByteArray> lines = dataFile.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QByteArray line = lines[index].trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype blank = line.indexOf(' ');
        if (index == 0) {
            parsed.key = line.mid(blank + 1);
            continue;
        }
        parsed.ids.push_back(line.left(blank));
        parsed.answers.push_back(line.mid(blank + 1));
    }
    return parsed;
}

char letter(char digit)
{
    return digit >= '1' && digit <= '5' ? char('A' + (digit - '1')) : digit;
}

QByteArray csvOf(const GeneratedClass& test)
{
    QByteArray csv = "Student ID";
    for (qsizetype item = 1; item <= test.key.size(); ++item)
        csv += ",Q" + QByteArray::number(item);
    const auto row = [&csv](const QByteArray& id, const QByteArray& answers) {
        csv += "\r\n" + id;
        for (const char answer : answers)
            csv.append(',').append(letter(answer));
    };
    row("KEY", test.key);
    for (std::size_t student = 0; student < test.ids.size(); ++student)
        row(test.ids[student], test.answers[student]);
    return csv + "\r\n";
}

// The sheet's rows. Shared strings: 0 "Student ID", 1 "KEY", 2.. the letters A to E.
QByteArray rowsOf(const GeneratedClass& test)
{
    QByteArray xml;
    const auto row = [&](qsizetype number, const QByteArray& idCell, const QByteArray& answers) {
        xml += "<row r=\"" + QByteArray::number(number) + "\">" + idCell;
        for (qsizetype item = 0; item < answers.size(); ++item)
            xml += "<c r=\"" + cellName(item + 1, number) + "\" t=\"s\"><v>" +
                   QByteArray::number(2 + (answers[item] - '1')) + "</v></c>";
        xml += "</row>";
    };
    xml += "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>";
    for (qsizetype item = 1; item <= test.key.size(); ++item)
        xml += "<c r=\"" + cellName(item, 1) + "\"><v>" + QByteArray::number(item) + "</v></c>";
    xml += "</row>";
    row(2, "<c r=\"A2\" t=\"s\"><v>1</v></c>", test.key);
    for (std::size_t student = 0; student < test.ids.size(); ++student)
        row(qsizetype(student) + 3,
            "<c r=\"" + cellName(0, qsizetype(student) + 3) + "\"><v>" + test.ids[student] + "</v></c>",
            test.answers[student]);
    return xml;
}

QByteArray xlsxOf(const GeneratedClass& test)
{
    return workbook(rowsOf(test), {"Student ID", "KEY", "A", "B", "C", "D", "E"}, ZipMembers::Deflated);
}

// Unpacks the workbook's sheet and drops it, a window at a time; false when it does not unpack.
bool inflateSheet(const QByteArray& xlsx)
{
    ZipArchive zip;
    ZipMemberReader sheet;
    QString error;
    if (!zip.open(xlsx, error) || !zip.open(QStringLiteral("xl/worksheets/sheet1.xml"), sheet, error))
        return false;
    QByteArray window(64 * 1024, Qt::Uninitialized);
    qsizetype got = 0;
    while ((got = sheet.read(window.data(), window.size())) > 0) {
    }
    return got == 0;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int students = arguments.size() > 2 ? arguments[1].toInt() : 32765;
    const int items = arguments.size() > 2 ? arguments[2].toInt() : 200;

    QTemporaryDir dir;
    const QByteArray dataFile = generateDataFile({.students = students, .items = items, .choices = 5});
    const GeneratedClass test = parse(dataFile);
    const QString txt = dir.filePath(QStringLiteral("class.txt")),
                  csv = dir.filePath(QStringLiteral("class.csv")),
                  xlsx = dir.filePath(QStringLiteral("class.xlsx"));
    const QByteArray csvBytes = csvOf(test), xlsxBytes = xlsxOf(test);
    if (!write(txt, dataFile) || !write(csv, csvBytes) || !write(xlsx, xlsxBytes))
        return 1;

    bool failed = false;
    const auto loadTxt = [&] {
        TestData data;
        QString error;
        failed |= !loadDataFile(txt, data, error) || data.NumStud != students;
    };
    const auto importFile = [&](const QString& path) {
        return [&, path] {
            const ImportResult result = importSpreadsheet(path);
            TestData data;
            QString error;
            failed |= !result.ok || !loadDataBytes(result.dataFile, data, error) ||
                      data.NumStud != students || data.NumItems != items;
            if (!result.ok)
                std::fprintf(stderr, "%s\n", qPrintable(result.error));
        };
    };
    const Timing plain = timeRuns(runs, loadTxt);
    const Timing fromCsv = timeRuns(runs, importFile(csv));
    const Timing fromXlsx = timeRuns(runs, importFile(xlsx));
    const Timing inflating = timeRuns(runs, [&] { failed |= !inflateSheet(xlsxBytes); });
    if (failed)
        return 1;
    std::printf("%d students x %d items, median (fastest) of %d runs\n", students, items, runs);
    std::printf("%-26s %11s %10s %10s %8s\n", "", "bytes", "median ms", "min ms", "ratio");
    std::printf("%-26s %11lld %10.1f %10.1f %8s\n", "data file (.txt) load", qlonglong(dataFile.size()),
                plain.median, plain.fastest, "1.00");
    std::printf("%-26s %11lld %10.1f %10.1f %8.2f\n", "CSV import + load", qlonglong(csvBytes.size()),
                fromCsv.median, fromCsv.fastest, fromCsv.median / plain.median);
    std::printf("%-26s %11lld %10.1f %10.1f %8.2f\n", "XLSX import + load", qlonglong(xlsxBytes.size()),
                fromXlsx.median, fromXlsx.fastest, fromXlsx.median / plain.median);
    std::printf("%-26s %11s %10.1f %10.1f %8.2f\n", "XLSX sheet: inflate alone", "", inflating.median,
                inflating.fastest, inflating.median / plain.median);
    return 0;
}
